// The program's application object: an exception that escapes an event handler is shown to
// the analyst and the program goes on, instead of unwinding through Qt.
#pragma once

#include <QApplication>

class IMessageSink;

class VardunApplication : public QApplication {
    Q_OBJECT

public:
    VardunApplication(int& argc, char** argv);

    void SetMessages(IMessageSink* messages) { messages_ = messages; }
    bool notify(QObject* receiver, QEvent* event) override;

    // Shows what an escaped exception says, through the messages if there are any.
    void ReportException(const char* what) const;

private:
    IMessageSink* messages_ = nullptr;
};
