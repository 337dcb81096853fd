// The sensitivity ranking's column heads, written once for its window, its CSV file and the
// printed report.
#pragma once

#include <QString>
#include <QStringList>

// "№", then the triple's three kinds: "Эшелон", "Угроза", "МЗ".
QString RankHead();
QStringList TripleHeads();
// The smallest, unshifted and largest value and the swing, of Rm, then of Re.
QStringList SwingHeads();
