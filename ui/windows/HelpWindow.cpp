#include "ui/windows/HelpWindow.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QRegularExpression>
#include <QScrollBar>
#include <QShortcut>
#include <QStringList>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

#include <algorithm>

namespace {

// Wide enough for the guide's widest picture (a source-matrix window, 791 pixels) with the
// margins and the scroll bar; a reader may make it any size.
constexpr QSize kInitialSize { 860, 640 };
constexpr QSize kMinimumSize { 400, 300 };
// The windows' font is sized for their fixed geometry; the guide is read at length.
constexpr int kReadingFontPixels = 14;

// The guide names its pictures relative to itself, as the repository's page does.
const QString kGuideBase = QStringLiteral("qrc:/docs/guide/");

// An anchor as the guide writes it, on a line of its own above a heading.
const QRegularExpression kAnchorLine(QStringLiteral(R"re(^<a id="([A-Za-z0-9_-]+)"></a>\s*$)re"));

struct PreparedGuide {
    // Without the anchor lines: Qt's Markdown reader drops inline HTML and would leave an
    // empty paragraph in their place.
    QString Markdown;
    // A heading's text, as the document shows it, to the anchor written above it.
    QHash<QString, QString> AnchorOfHeading;
};

QString HeadingText(const QString& line)
{
    qsizetype level = 0;
    while (level < line.size() && line[level] == QLatin1Char('#'))
        ++level;
    return line.mid(level).trimmed();
}

PreparedGuide Prepare(const QString& text)
{
    PreparedGuide guide;
    QStringList kept;
    QString pending;
    bool inCode = false;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (line.startsWith(QStringLiteral("```")))
            inCode = !inCode;
        if (!inCode) {
            const QRegularExpressionMatch anchor = kAnchorLine.match(line);
            if (anchor.hasMatch()) {
                pending = anchor.captured(1);
                continue;
            }
            if (!pending.isEmpty() && line.startsWith(QLatin1Char('#'))) {
                guide.AnchorOfHeading.insert(HeadingText(line), pending);
                pending.clear();
            }
        }
        kept.append(line);
    }
    guide.Markdown = kept.join(QLatin1Char('\n'));
    return guide;
}

} // namespace

const QString THelpForm::kGuidePath = QStringLiteral(":/docs/guide/README.md");

THelpForm::THelpForm(QWidget* parent)
    : QMainWindow(parent)
    , browser_(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("HelpForm"));
    setWindowTitle(tr("Vardun 2.2 — руководство пользователя"));
    // Reading the guide must not keep the program running once its main window is closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(kInitialSize);
    setMinimumSize(kMinimumSize);

    browser_->setObjectName(QStringLiteral("GuideBrowser"));
    browser_->setAccessibleName(tr("Руководство пользователя"));
    browser_->setOpenExternalLinks(true);
    QFont reading = browser_->font();
    reading.setPixelSize(kReadingFontPixels);
    browser_->setFont(reading);
    setCentralWidget(browser_);

    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);

    LoadGuide();
}

void THelpForm::LoadGuide()
{
    QFile file(kGuidePath);
    if (!file.open(QIODevice::ReadOnly)) {
        browser_->setPlainText(tr("Руководство пользователя не найдено в программе."));
        return;
    }
    const PreparedGuide guide = Prepare(QString::fromUtf8(file.readAll()));

    QTextDocument* document = browser_->document();
    // Pictures resolve against the guide's own place among the resources.
    document->setBaseUrl(QUrl(kGuideBase));
    browser_->setMarkdown(guide.Markdown);

    // Qt gives headings no anchors of their own: the heading under each anchor line gets
    // it, so that links inside the guide and F1 land there.
    sections_.clear();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0)
            continue;
        const auto anchor = guide.AnchorOfHeading.constFind(block.text().trimmed());
        if (anchor == guide.AnchorOfHeading.constEnd())
            continue;
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setAnchor(true);
        format.setAnchorNames({ *anchor });
        cursor.mergeCharFormat(format);
        sections_.insert(*anchor, block.position());
    }
}

void THelpForm::ShowSection(const QString& anchor)
{
    // Shown first: the text is laid out for the view's width only then.
    show();
    raise();
    activateWindow();
    const auto section = sections_.constFind(anchor);
    if (section == sections_.constEnd())
        browser_->verticalScrollBar()->setValue(0);
    else
        ScrollTo(*section);
}

void THelpForm::ScrollTo(int position)
{
    QTextDocument* document = browser_->document();
    const QRectF place = document->documentLayout()->blockBoundingRect(document->findBlock(position));
    QScrollBar* bar = browser_->verticalScrollBar();
    bar->setValue(std::min(bar->maximum(), static_cast<int>(place.top())));
}

QString THelpForm::SectionAtTop() const
{
    QTextDocument* document = browser_->document();
    const int top = browser_->verticalScrollBar()->value();
    for (auto section = sections_.constBegin(); section != sections_.constEnd(); ++section) {
        const QRectF place = document->documentLayout()->blockBoundingRect(document->findBlock(section.value()));
        if (static_cast<int>(place.top()) == top)
            return section.key();
    }
    return {};
}
