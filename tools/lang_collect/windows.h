// Every window of the program that has a translation source, built as the
// program builds it (in English, without a dispatcher) with main windows
// that do nothing, for the tools and tests that look at windows' texts.
#pragma once

#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace langcollect {

using TWindowFactory = std::function<std::unique_ptr<QWidget>()>;

// By form class name ("TfrmAbout", ...). The main window reads its
// settings when built: point XDG_CONFIG_HOME somewhere harmless first.
const std::map<std::string, TWindowFactory> &ProgramWindows();

} // namespace langcollect
