// The caption of every window of the walk: which assessment is open and whether it holds
// changes no file has, as desktop programs say it ("example.sav* — Vardun 2.2",
// "Без имени — Vardun 2.2").
#pragma once

#include <QString>

class AssessmentDocument;
class QWidget;

QString DocumentCaption(const AssessmentDocument& document);
// Sets `window`'s caption and keeps it so as the document is loaded, saved and changed.
void FollowDocumentCaption(QWidget& window, const AssessmentDocument& document);
