#include "ui/document/Document.h"

AssessmentDocument::AssessmentDocument(QObject* parent)
    : QObject(parent)
{
}

void AssessmentDocument::SetSaved(bool saved)
{
    if (saved_ == saved)
        return;
    saved_ = saved;
    emit savedChanged(saved_);
}

bool AssessmentDocument::Load(const std::string& path, IMessageSink& messages)
{
    if (!store_.LoadFromFile(path, messages))
        return false;
    filePath_ = path;
    emit loaded();
    emit fileChanged();
    return true;
}

bool AssessmentDocument::Save(const std::string& path, IMessageSink& messages)
{
    if (!store_.SaveToFile(path, messages))
        return false;
    filePath_ = path;
    SetSaved(true);
    emit fileChanged();
    return true;
}
