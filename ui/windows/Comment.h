// TCommentForm: the key to the distribution chart. It lists which layer or mechanism each
// number along the chart's X and Y axes stands for and what the three band colours of the
// prisms mean. One instance serves the source-matrix windows of all four modes.
#pragma once

#include "model/Kinds.h"

#include <QDialog>

class CData;
class QPlainTextEdit;

class TCommentForm : public QDialog {
    Q_OBJECT

public:
    // Reads the names of the analysed items from `store` whenever it is shown.
    explicit TCommentForm(const CData& store, QWidget* parent = nullptr);

    // Lists the items along the axes of the mode's chart and shows the window, not modally.
    void ShowComments(AnalysisMode mode);

private:
    const CData& store_;
    QPlainTextEdit* xMemo_;
    QPlainTextEdit* yMemo_;
};
