// nivora_collect_texts [<translation source folder>]: builds every window of
// the program offscreen, collects the texts each shows and checks them
// against its source in resources/lang. Prints one line per finding and
// exits with 1 when there is any (2 when the sources cannot be read).
#include "tools/lang_collect/collect.h"
#include "tools/lang_collect/windows.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

int main(int argc, char **argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The main window reads and writes its settings: keep them private.
    QTemporaryDir config;
    ::setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    QApplication app(argc, argv);

    const fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::path(NIVORA_LANG_SOURCES);
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        std::fprintf(stderr, "nivora_collect_texts: %s is no folder\n", folder.c_str());
        return 2;
    }
    int findings = 0;
    int checked = 0;
    for (const auto &entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() != ".txt")
            continue;
        const std::string form = entry.path().stem().string();
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        std::vector<langsrc::TError> errors;
        const langsrc::TSource source = langsrc::ParseSource(text.str(), errors);
        if (!errors.empty()) {
            std::fprintf(stderr, "%s",
                         langsrc::FormatErrors(entry.path().string(), errors).c_str());
            return 2;
        }
        const auto factory = langcollect::ProgramWindows().find(form);
        if (factory == langcollect::ProgramWindows().end()) {
            std::printf("%s: no window is built for this source\n", form.c_str());
            ++findings;
            continue;
        }
        std::unique_ptr<QWidget> window = factory->second();
        for (const auto &f : langcollect::CheckWindowTexts(window.get(), form, source)) {
            std::printf("%s: [%s] %s: %s\n", form.c_str(), f.Table.c_str(), f.Key.c_str(),
                        f.Message.c_str());
            ++findings;
        }
        ++checked;
    }
    std::printf("nivora_collect_texts: %d windows checked, %d findings\n", checked, findings);
    return findings == 0 ? 0 : 1;
}
