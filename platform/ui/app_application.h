// The application object: the program's title, the message loop, and the
// exception display at the top of the loop. An rtl::Exception (or any
// std::exception) that escapes an event handler is caught where the event
// was delivered, shown through the UI services as an error box with the
// title as caption, and the loop goes on.
//
//   int main(int argc, char **argv)
//   {
//       ui::TApplication app(argc, argv);
//       app.SetTitle("Nivora");
//       TfrmMain main;          // the main window
//       main.show();
//       app.Run();
//       return 0;
//   }
#pragma once

#include <QApplication>
#include <QString>

#include <exception>

namespace ui {

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int &argc, char **argv);
    ~TApplication() override;

    // The running application object; nullptr when there is none or when the
    // QApplication is not a TApplication (plain test mains).
    static TApplication *Instance();

    // The title message boxes and the exception display show ("Nivora").
    QString Title() const;
    void SetTitle(const QString &title);

    // Runs the message loop until Terminate or the last window closes. An
    // exception that escapes the loop itself is shown as well; returns the
    // loop's exit code (0 after such an exception).
    int Run();
    // Ends the message loop at once: no window is asked or told to close.
    void Terminate();
    bool Terminated() const { return FTerminated; }

    // How many exceptions the loop has caught and shown.
    int ExceptionCount() const { return FExceptionCount; }

    bool notify(QObject *receiver, QEvent *event) override;

private:
    void ShowQueued(const QString &message);

    bool FTerminated = false;
    int FExceptionCount = 0;
};

// Lets pending window messages run once (timers, input, paints, posted
// events) and returns; for loops that keep the program responsive.
void ProcessMessages();

// Inside a catch block: the message of the exception being handled
// (rtl::Exception messages are Windows-1252, std::exception texts are taken
// as UTF-8, anything else is "Unknown exception").
QString CurrentExceptionMessage();
// Inside a catch block: shows the exception being handled through the UI
// services (the exception display).
void ShowCurrentException();

} // namespace ui
