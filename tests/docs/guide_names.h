// The names and paths a guide in Markdown cites, checked against the tree.
//
// What counts, and what must be true of it:
// - Code blocks (fenced with ``` or indented by four spaces after an empty
//   line) are left out: they hold commands to type and the layer diagram.
// - In a code span (`...`), texts in quotes ("IDS_0", 'K') and options
//   (words that start with '-') are left out, and so is what follows a '='
//   (`NIVORA_QUICK=1`).
// - A word of a span that holds a '/' or ends in a file extension is a path:
//   it must name a file or folder of the tree, relative to the project folder
//   (a trailing '/' asks for a folder). '*' stands for any characters of one
//   name and "<...>" for one name (`resources/lang/<FormClass>.txt`); a path
//   without '/' is a file name somewhere in the tree (`*_test.cpp`). Paths
//   that start with '/', '$' or '~', and paths into a build folder (first
//   part "build..."), lie outside the tree and are left out.
// - Every other word of a span is a name: each part of a qualified name
//   (`meter::TMeterLink::PressKey`) must be a whole word of the tree's text
//   files other than Markdown files (sources, CMake files, scripts,
//   translation sources, data); a name that ends in '*' is a prefix of one
//   (`btn*`). One-letter words (the prefixes `T`, `g`, `F`) and numbers are
//   left out.
// - Outside code, a word that holds a '/' and begins with a top-level folder of
//   the tree (app/main_form.cpp) is a path as above.
#pragma once

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace guidecheck {

inline std::string ReadFile(const std::filesystem::path &file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// One citation that names nothing of the tree.
struct TProblem {
    int Line = 0;
    std::string Cited;
    std::string Why;
    std::string Describe() const { return std::to_string(Line) + ": " + Cited + ": " + Why; }
};

// The tree's paths (a folder's with a trailing '/') and the words of its text files.
class TTree {
public:
    explicit TTree(const std::filesystem::path &root)
    {
        namespace fs = std::filesystem;
        static const std::regex word(R"([A-Za-z_][A-Za-z0-9_]*)");
        std::error_code ec;
        for (auto it = fs::recursive_directory_iterator(root, ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
            const fs::path relative = fs::relative(it->path(), root);
            const std::string name = relative.filename().string();
            if (it->is_directory()) {
                if (name[0] == '.' || (it.depth() == 0 && name.rfind("build", 0) == 0))
                    it.disable_recursion_pending();
                else
                    FPaths.insert(relative.generic_string() + "/");
                continue;
            }
            FPaths.insert(relative.generic_string());
            const std::string s = relative.extension() == ".md" ? "" : ReadFile(it->path());
            if (s.find('\0') != std::string::npos)
                continue; // a picture or another binary file
            for (auto w = std::sregex_iterator(s.begin(), s.end(), word);
                 w != std::sregex_iterator(); ++w)
                FWords.insert(w->str());
        }
    }

    bool HasWord(const std::string &word, bool prefix = false) const
    {
        const auto at = FWords.lower_bound(word);
        return at != FWords.end() && (prefix ? at->rfind(word, 0) == 0 : *at == word);
    }
    bool IsTopFolder(const std::string &name) const { return FPaths.count(name + "/") != 0; }

    // A path as the guide writes it (see the head of this file).
    bool HasPath(std::string path) const
    {
        const bool folder = path.back() == '/';
        while (!path.empty() && path.back() == '/')
            path.pop_back();
        const bool anywhere = path.find('/') == std::string::npos;
        path = std::regex_replace(path, std::regex(R"([.+()\[\]{}^$|\\?])"), "\\$&");
        path = std::regex_replace(path, std::regex(R"(\*)"), "[^/]*");
        path = std::regex_replace(path, std::regex("<[^>]*>"), "[^/]+");
        const std::regex pattern((anywhere ? "(.*/)?" : "") + path + (folder ? "/" : "/?"));
        return std::any_of(FPaths.begin(), FPaths.end(),
                           [&](const std::string &p) { return std::regex_match(p, pattern); });
    }

private:
    std::set<std::string> FPaths, FWords;
};

namespace detail {

inline void CheckPath(const TTree &tree, int line, const std::string &path,
                      std::vector<TProblem> &found)
{
    const bool outside = std::string_view("/$~").find(path[0]) != std::string_view::npos ||
                         path.rfind("build", 0) == 0;
    if (!outside && !tree.HasPath(path))
        found.push_back({line, path, "no such file or folder in the tree"});
}

// The words of one code span.
inline void CheckSpan(const TTree &tree, int line, std::string span, std::vector<TProblem> &found)
{
    static const std::regex quoted(R"("[^"]*"|'[^']*')"), assigned(R"(=\S*)");
    static const std::regex token(R"([^\s(),;&!|{}\[\]]+)");
    static const std::regex name(R"([A-Za-z_][A-Za-z0-9_]*\*?)");
    // A file extension is lower case ("gDataSets.SetCount" is a member).
    static const std::regex extension(R"([A-Za-z0-9_*>-]\.[a-z][a-z0-9]*$)");
    span = std::regex_replace(std::regex_replace(span, quoted, " "), assigned, " ");
    for (auto t = std::sregex_iterator(span.begin(), span.end(), token);
         t != std::sregex_iterator(); ++t) {
        std::string word = t->str();
        while (!word.empty() && (word.back() == '.' || word.back() == ':'))
            word.pop_back();
        if (word.empty() || word[0] == '-')
            continue; // an option
        if (word.find('/') != std::string::npos ||
            (word.find("::") == std::string::npos && std::regex_search(word, extension))) {
            CheckPath(tree, line, word, found);
            continue;
        }
        for (auto n = std::sregex_iterator(word.begin(), word.end(), name);
             n != std::sregex_iterator(); ++n) {
            const size_t at = size_t(n->position());
            if (at > 0 && std::isalnum(static_cast<unsigned char>(word[at - 1])))
                continue; // part of a number (0x04D9, 100ms)
            std::string part = n->str();
            const bool prefix = part.back() == '*';
            if (prefix)
                part.pop_back();
            if (part.size() >= 2 && !tree.HasWord(part, prefix))
                found.push_back({line, n->str(), "no word of the tree's sources"});
        }
    }
}

// Paths in running text: words with a '/' that begin with a top-level folder.
inline void CheckProse(const TTree &tree, int line, const std::string &text,
                       std::vector<TProblem> &found)
{
    static const std::regex word(R"([A-Za-z0-9_.*<>-]+(/[A-Za-z0-9_.*<>-]*)+)");
    for (auto w = std::sregex_iterator(text.begin(), text.end(), word); w != std::sregex_iterator();
         ++w) {
        std::string path = w->str();
        while (!path.empty() && (path.back() == '.' || path.back() == '-'))
            path.pop_back();
        const bool inAbsolutePath = w->position() > 0 && text[size_t(w->position()) - 1] == '/';
        if (!inAbsolutePath && tree.IsTopFolder(path.substr(0, path.find('/'))))
            CheckPath(tree, line, path, found);
    }
}

} // namespace detail

// Every citation of the guide text that names nothing of the tree, in line order.
inline std::vector<TProblem> CheckGuide(const TTree &tree, const std::string &guide)
{
    std::vector<TProblem> found;
    std::istringstream in(guide);
    bool fenced = false, indented = false, previousBlank = true;
    std::string span; // a code span still open at the end of a line
    int spanLine = 0; // the line it began on, 0 outside a span
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        const bool blank = line.find_first_not_of(" \t\r") == std::string::npos;
        if (line.rfind("```", 0) == 0) {
            fenced = !fenced;
            previousBlank = false;
            continue;
        }
        if (!blank) // four spaces after an empty line, outside a span, begin a code block
            indented = line.rfind("    ", 0) == 0 && (indented || (previousBlank && spanLine == 0));
        previousBlank = blank;
        if (fenced || indented)
            continue;
        std::string prose;
        for (char c : line) {
            if (c == '`') {
                if (spanLine != 0)
                    detail::CheckSpan(tree, spanLine, std::exchange(span, {}), found);
                spanLine = spanLine != 0 ? 0 : number;
                prose += ' ';
            } else {
                (spanLine != 0 ? span : prose) += c;
            }
        }
        if (spanLine != 0)
            span += ' ';
        detail::CheckProse(tree, number, prose, found);
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const TProblem &a, const TProblem &b) { return a.Line < b.Line; });
    return found;
}

} // namespace guidecheck
