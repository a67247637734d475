// The application object: the program's title, the message loop, and the
// exception display. An rtl::Exception (or any std::exception) raised by a
// handler is shown through the UI services as an error box with the title as
// caption, and the loop goes on.
//
// Qt's own code is built without exception support: an exception that
// unwinds through it skips its clean-up (the copy of a mouse event that
// QApplication::notify makes is never freed, a signal's sender is never
// reset). So a handler Qt calls catches its own exceptions with Guarded, in
// its body (an input event handler) or around it (a slot: GuardedSlot), and
// shows them there. The catch in notify() is the last resort for the
// exceptions no handler caught.
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

#include <cstddef>
#include <exception>
#include <functional>
#include <tuple>
#include <type_traits>
#include <utility>

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

    // How many exceptions the loop and the guarded handlers have shown.
    int ExceptionCount() const { return FExceptionCount; }
    void CountException() { ++FExceptionCount; }
    // Counts and shows an exception a handler caught (the message of the one
    // being handled inside a catch block); inside a paint, once it is over.
    void ShowHandlerException(const QString &message);

    bool notify(QObject *receiver, QEvent *event) override;

private:
    void ShowQueued(const QString &message);

    bool FTerminated = false;
    int FExceptionCount = 0;
    int FPaintDepth = 0; // paints being delivered, nested ones included
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

// Runs handler; an exception that escapes it is shown by the exception
// display (and counted) and goes no further. Returns false after one. Inside
// a paint the box is shown once the paint is over.
bool RunGuarded(const std::function<void()> &handler) noexcept;

// Inside an event handler:  ui::Guarded([&] { ... });
// A close handler that fails keeps the window open:
//   if (!ui::Guarded([&] { ... })) event->ignore();
template <class F> bool Guarded(F &&handler) noexcept
{
    return RunGuarded(std::function<void()>(std::forward<F>(handler)));
}

namespace detail {

template <class F, class Tuple, class Seq> struct TakesPrefix;
template <class F, class Tuple, std::size_t... I>
struct TakesPrefix<F, Tuple, std::index_sequence<I...>>
    : std::is_invocable<F &, std::tuple_element_t<I, Tuple>...> {
};

template <class F, class Tuple, std::size_t... I>
void CallPrefix(F &slot, Tuple &args, std::index_sequence<I...>)
{
    std::invoke(slot, std::get<I>(std::move(args))...);
}

// Calls slot with as many of the signal's leading arguments as it takes, as
// a connection to a member function does (clicked(bool) reaches a Click()).
template <std::size_t N, class F, class Tuple> void CallWithLeading(F &slot, Tuple &args)
{
    if constexpr (TakesPrefix<F, Tuple, std::make_index_sequence<N>>::value) {
        CallPrefix(slot, args, std::make_index_sequence<N>());
    } else {
        static_assert(N > 0, "the slot takes none of the signal's arguments");
        if constexpr (N > 0)
            CallWithLeading<N - 1>(slot, args);
    }
}

} // namespace detail

// A slot that runs slot guarded:
//   connect(b, &QPushButton::clicked, this, ui::GuardedSlot([this] { btnRunClick(); }));
//   connect(t, &QTimer::timeout, this, ui::GuardedSlot(this, &TfrmMain::MainTimerTimer));
// The slot gets the signal's leading arguments it takes; the rest are dropped.
template <class F> auto GuardedSlot(F slot)
{
    return [slot = std::move(slot)](auto &&...args) mutable -> void {
        RunGuarded([&] {
            auto all = std::forward_as_tuple(std::forward<decltype(args)>(args)...);
            detail::CallWithLeading<sizeof...(args)>(slot, all);
        });
    };
}
template <class T, class Method> auto GuardedSlot(T *object, Method method)
{
    return GuardedSlot(std::bind_front(method, object));
}

} // namespace ui
