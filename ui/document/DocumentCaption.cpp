#include "ui/document/DocumentCaption.h"

#include "ui/document/Document.h"
#include "ui/widgets/Texts.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QWidget>

QString DocumentCaption(const AssessmentDocument& document)
{
    const QString name = document.FilePath().empty()
        ? QCoreApplication::translate("DocumentCaption", "Без имени")
        : QFileInfo(QString::fromStdString(document.FilePath())).fileName();
    return QStringLiteral("%1%2 — %3").arg(name, document.IsSaved() ? QString() : QStringLiteral("*"), ProgramTitle());
}

void FollowDocumentCaption(QWidget& window, const AssessmentDocument& document)
{
    const auto update = [&window, &document] { window.setWindowTitle(DocumentCaption(document)); };
    update();
    QObject::connect(&document, &AssessmentDocument::savedChanged, &window, update);
    QObject::connect(&document, &AssessmentDocument::fileChanged, &window, update);
}
