// Checks a built window's texts against its translation source: the texts
// the window shows are collected into a fresh translation component (as a
// form designer collects them), and every one of them must have a row in
// the source; every row of the source must address a component of the
// window that has the property it translates.
#pragma once

#include "tools/lang_compile/lang_source.h"

#include <string>
#include <vector>

class QWidget;

namespace langcollect {

// One finding: "<table> <key>: <what is wrong>", texts in UTF-8.
struct TFinding {
    std::string Table;
    std::string Key;
    std::string Message;
};

// The texts window shows of every table the translation walk applies, as
// rows keyed as the walk reads them, with their text. Left out: texts
// without a letter (numbers, signs), a control's text that is its own
// component name (the placeholder of a control never shown), and a combo
// box's Text (its chosen item, translated with its Items). The window must
// have its form component.
struct TCollected {
    int Table = 0; // the TStringsType ordinal, the source's table index
    std::string Key;
    std::string Text; // Windows-1252
};
std::vector<TCollected> CollectWindowTexts(QWidget *window);

// The findings for window against source (formClass: its class name).
std::vector<TFinding> CheckWindowTexts(QWidget *window, const std::string &formClass,
                                       const langsrc::TSource &source);

} // namespace langcollect
