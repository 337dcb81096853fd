// The assessment being worked on: the store with every list, judgement and result, and
// whether it holds changes that no file has. Created once at start-up and handed to every
// window; windows say when they change the data, and the close question asks the document.
#pragma once

#include "model/Data.h"

#include <QObject>

#include <string>

class IMessageSink;

class AssessmentDocument : public QObject {
    Q_OBJECT

public:
    explicit AssessmentDocument(QObject* parent = nullptr);

    CData& Store() { return store_; }
    const CData& Store() const { return store_; }

    // No change since the last save (or since start-up).
    bool IsSaved() const { return saved_; }
    void SetSaved(bool saved);
    void MarkModified() { SetSaved(false); }

    // Loading leaves the saved state as it was: the windows decide what a load means.
    bool Load(const std::string& path, IMessageSink& messages);
    // Marks the document saved only when the file was written; a failure has been reported.
    bool Save(const std::string& path, IMessageSink& messages);
    // The data file last loaded or saved; empty for an assessment never in a file.
    const std::string& FilePath() const { return filePath_; }

signals:
    void savedChanged(bool saved);
    // A data file replaced the assessment.
    void loaded();
    // The assessment was loaded from or saved to a file (its path may be the same).
    void fileChanged();

private:
    CData store_;
    bool saved_ = true;
    std::string filePath_;
};
