// THelpForm: the user guide in a window of its own beside the program's windows. The guide
// is Markdown compiled into the program with its pictures; a section is found by the
// anchor written above its heading (<a id="main-window"></a>), the same anchor a reader
// of the guide on the repository's page follows. One instance; closing it only hides it.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <QString>

class QTextBrowser;

class THelpForm : public QMainWindow {
    Q_OBJECT

public:
    // The guide compiled into the program.
    static const QString kGuidePath;

    explicit THelpForm(QWidget* parent = nullptr);

    // Shows the window, raised, with the anchor's heading at the top of the view; the
    // guide's beginning for an empty or unknown anchor.
    void ShowSection(const QString& anchor);

    bool HasSection(const QString& anchor) const { return sections_.contains(anchor); }
    // The anchor of the heading at the top of the view; empty when none is.
    QString SectionAtTop() const;
    QTextBrowser* Browser() const { return browser_; }

private:
    void LoadGuide();
    // Scrolls so that the text position is at the top of the view (as far as the text goes).
    void ScrollTo(int position);

    QTextBrowser* browser_;
    // Anchor -> position of its heading in the shown document.
    QHash<QString, int> sections_;
};
