#include "app/AnalysisWindowFactory.h"

#include "ui/Dialogs.h"

#include <QWidget>

std::unique_ptr<QWidget> AnalysisWindowFactory::CreateGraphWindow(AnalysisMode, const AnalysedCounts&)
{
    return NotAvailable();
}

std::unique_ptr<QWidget> AnalysisWindowFactory::CreateMMEEWindow()
{
    return NotAvailable();
}

std::unique_ptr<QWidget> AnalysisWindowFactory::CreateRatingWindow()
{
    return NotAvailable();
}

std::unique_ptr<QWidget> AnalysisWindowFactory::NotAvailable()
{
    dialogs_.ShowInformation("Выбранные эшелоны, угрозы и механизмы подготовлены к анализу и войдут в файл "
                             "данных. Окна анализа в этой версии программы ещё не подключены.");
    return nullptr;
}
