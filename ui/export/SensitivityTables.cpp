#include "ui/export/SensitivityTables.h"

#include <QCoreApplication>

namespace {

QString Tr(const char* source)
{
    return QCoreApplication::translate("TSensitivityForm", source);
}

} // namespace

QString RankHead()
{
    return Tr(QT_TRANSLATE_NOOP("TSensitivityForm", "№"));
}

QStringList TripleHeads()
{
    return { Tr(QT_TRANSLATE_NOOP("TSensitivityForm", "Эшелон")), Tr(QT_TRANSLATE_NOOP("TSensitivityForm", "Угроза")),
        Tr(QT_TRANSLATE_NOOP("TSensitivityForm", "МЗ")) };
}

QStringList SwingHeads()
{
    return { Tr(QT_TRANSLATE_NOOP("TSensitivityForm", "Rm мин.")),
        Tr(QT_TRANSLATE_NOOP("TSensitivityForm", "Rm при 0")), Tr(QT_TRANSLATE_NOOP("TSensitivityForm", "Rm макс.")),
        Tr(QT_TRANSLATE_NOOP("TSensitivityForm", "Rm размах")), Tr(QT_TRANSLATE_NOOP("TSensitivityForm", "Re мин.")),
        Tr(QT_TRANSLATE_NOOP("TSensitivityForm", "Re при 0")), Tr(QT_TRANSLATE_NOOP("TSensitivityForm", "Re макс.")),
        Tr(QT_TRANSLATE_NOOP("TSensitivityForm", "Re размах")) };
}
