// What the analyst can do with the whole assessment beyond the walk, as one table: the
// printed report, the workbook, the sensitivity ranking, the comparison. The rating window
// makes its menus and buttons from it; F1 finds there the guide's section of a window a row
// opens; the report, in the window and in vardun-report, takes its analyses' sections from
// the rows; and vardun-report takes its options from them. A new window of this kind is its
// own units plus one row of AssessmentActions.cpp.
#pragma once

#include "analysis/RatingBasics.h"
#include "ui/export/ReportJson.h"
#include "ui/export/ReportRequest.h"

#include <QRect>

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

class AssessmentDocument;
class CData;
class IDialogs;
class IMessageSink;
class QWidget;

// The rating window's menus.
enum class ActionMenu { File, Analysis };

// Where the rating window puts a row's button: in the panel beside "Графики" (in the
// panel's coordinates) or in the row of buttons under the charts (in the window's).
enum class ButtonRow { Panel, Bottom };
struct ActionButton {
    ButtonRow Row;
    QRect Place;
};

// The rating window as its actions see it.
class IActionHost {
public:
    virtual ~IActionHost() = default;
    virtual QWidget* Window() = 0;
    virtual AssessmentDocument& Document() = 0;
    virtual IDialogs& Dialogs() = 0;
    // The file's name and the curves of the current choice when the charts are drawn.
    virtual ReportRequest CurrentRequest() const = 0;
    // Checks and shows a layer, threat and mechanism (a row chosen in the ranking).
    virtual void SelectTriple(const RatingSelection& triple) = 0;
};

// How a row's option of vardun-report takes its value.
enum class FlagValue {
    Path, // "--pdf OUT.pdf"
    OptionalCount, // "--sensitivity [N]": a positive whole number right after, or none
};

// What vardun-report gives a row's option.
struct FlagRun {
    // The assessment as loaded, and its path as given.
    const CData& Data;
    const std::string& Input;
    // None: the option was not given; empty: given without its optional value.
    const std::optional<std::string>& Value;
    IMessageSink& Messages;
};

// What an analysis brings to a run of vardun-report.
struct FlagPart {
    // Its section of the printed report; empty: none.
    ReportSection Section;
    // Its member of the JSON, from the assessment as the walk leaves it; empty: none.
    std::function<ReportJson(const CData& walked)> Json;
};

struct AssessmentAction {
    // Names the menu entry and the button ("SensitivityAction", "SensitivityButton").
    const char* Name;
    // A source text of the context "AssessmentActions".
    const char* Caption;
    ActionMenu Menu;
    std::optional<ActionButton> Button;
    // The guide's section about what the row opens or writes.
    const char* HelpAnchor;
    // The class of the window the row opens, whose F1 shows that section; null: none.
    const char* WindowClass;
    // Whether the row can run on the assessment; null: always.
    bool (*Enabled)(const CData& data);
    // Runs the row from the rating window.
    void (*Run)(IActionHost& host);
    // Its section of the printed report as the rating window stands (an open window's
    // result); null or an empty section: none.
    ReportSection (*WindowSection)(const QWidget* host);

    // Its option of vardun-report: the option, how it takes its value, its synopsis and
    // its lines of --help.
    const char* Flag;
    FlagValue Value;
    const char* Synopsis;
    const char* Usage;
    // An output of the whole assessment: writes it to the option's path. Null for an
    // analysis.
    bool (*Write)(const std::string& path, const CData& data, const ReportRequest& request, IMessageSink& messages);
    // An analysis: its part of the run, asked whether or not the option was given; none
    // when it failed, having said why.
    std::optional<FlagPart> (*Part)(const FlagRun& run);
};

std::span<const AssessmentAction> AssessmentActions();

// The JSON member's name of a row: its option without the dashes.
std::string JsonKey(const AssessmentAction& action);
// The report's sections of every row as the rating window `host` stands, in the rows' order.
std::vector<ReportSection> WindowReportSections(const QWidget* host);
