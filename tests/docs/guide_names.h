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
#include <unordered_set>
#include <vector>

namespace guidecheck {

// One citation that names nothing of the tree.
struct TProblem {
    int Line = 0;
    std::string Cited;
    std::string Why;
    std::string Describe() const { return std::to_string(Line) + ": " + Cited + ": " + Why; }
};

// The tree's paths and the words of its text files.
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
            const bool top = relative.parent_path().empty();
            if (it->is_directory()) {
                if (name[0] == '.' || (top && name.rfind("build", 0) == 0)) {
                    it.disable_recursion_pending();
                    continue;
                }
                FFolders.insert(relative.generic_string());
                if (top)
                    FTopFolders.insert(name);
                continue;
            }
            FFiles.insert(relative.generic_string());
            if (relative.extension() == ".md")
                continue;
            std::ifstream in(it->path(), std::ios::binary);
            std::ostringstream text;
            text << in.rdbuf();
            const std::string s = text.str();
            if (s.find('\0') != std::string::npos)
                continue; // a picture or another binary file
            for (auto w = std::sregex_iterator(s.begin(), s.end(), word);
                 w != std::sregex_iterator(); ++w)
                FWords.insert(w->str());
        }
    }

    bool HasWord(const std::string &word) const { return FWords.count(word) != 0; }
    bool HasWordStartingWith(const std::string &prefix) const
    {
        return std::any_of(FWords.begin(), FWords.end(),
                           [&](const std::string &w) { return w.rfind(prefix, 0) == 0; });
    }
    bool IsTopFolder(const std::string &name) const { return FTopFolders.count(name) != 0; }

    // A path as the guide writes it: relative to the project folder, with
    // '*' and "<...>" as wildcards; a trailing '/' asks for a folder; a path
    // without '/' matches a file name anywhere.
    bool HasPath(const std::string &cited) const
    {
        std::string path = cited;
        const bool folder = !path.empty() && path.back() == '/';
        while (!path.empty() && path.back() == '/')
            path.pop_back();
        const bool anywhere = path.find('/') == std::string::npos;
        const std::regex pattern(Pattern(path));
        auto matches = [&](const std::string &p) {
            const std::string tail = anywhere ? p.substr(p.rfind('/') + 1) : p;
            return std::regex_match(tail, pattern);
        };
        if (std::any_of(FFolders.begin(), FFolders.end(), matches))
            return true;
        return !folder && std::any_of(FFiles.begin(), FFiles.end(), matches);
    }

private:
    static std::string Pattern(const std::string &path)
    {
        std::string re;
        for (size_t i = 0; i < path.size(); ++i) {
            const char c = path[i];
            if (c == '*') {
                re += "[^/]*";
            } else if (c == '<' && path.find('>', i) != std::string::npos) {
                re += "[^/]+";
                i = path.find('>', i);
            } else {
                if (std::string_view(".+()[]{}^$|\\?").find(c) != std::string_view::npos)
                    re += '\\';
                re += c;
            }
        }
        return re;
    }

    std::set<std::string> FFiles, FFolders, FTopFolders;
    std::unordered_set<std::string> FWords;
};

namespace detail {

inline bool OutsideTheTree(const std::string &path)
{
    return path[0] == '/' || path[0] == '$' || path[0] == '~' || path.rfind("build", 0) == 0;
}

inline bool LooksLikePath(const std::string &word)
{
    // A file extension is lower case ("gDataSets.SetCount" is a member).
    static const std::regex extension(R"([A-Za-z0-9_*>-]\.[a-z][a-z0-9]*$)");
    return word.find('/') != std::string::npos ||
           (word.find("::") == std::string::npos && std::regex_search(word, extension));
}

inline void CheckPath(const TTree &tree, int line, const std::string &path,
                      std::vector<TProblem> &found)
{
    if (!OutsideTheTree(path) && !tree.HasPath(path))
        found.push_back({line, path, "no such file or folder in the tree"});
}

// The words of one code span.
inline void CheckSpan(const TTree &tree, int line, std::string span, std::vector<TProblem> &found)
{
    static const std::regex quoted(R"("[^"]*"|'[^']*')");
    static const std::regex assigned(R"(=\S*)");
    static const std::regex token(R"([^\s(),;&!|{}\[\]]+)");
    static const std::regex name(R"([A-Za-z_][A-Za-z0-9_]*\*?)");
    span = std::regex_replace(span, quoted, " ");
    span = std::regex_replace(span, assigned, " ");
    for (auto t = std::sregex_iterator(span.begin(), span.end(), token);
         t != std::sregex_iterator(); ++t) {
        std::string word = t->str();
        if (word[0] == '-')
            continue; // an option
        while (!word.empty() && (word.back() == '.' || word.back() == ':'))
            word.pop_back();
        if (word.empty())
            continue;
        if (LooksLikePath(word)) {
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
            if (part.size() < 2)
                continue;
            if (prefix ? !tree.HasWordStartingWith(part) : !tree.HasWord(part))
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
        const size_t slash = path.find('/');
        if (slash == std::string::npos || !tree.IsTopFolder(path.substr(0, slash)))
            continue;
        if (w->position() > 0 && text[size_t(w->position()) - 1] == '/')
            continue; // inside an absolute path
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
    int spanLine = 0;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        const bool blank = line.find_first_not_of(" \t\r") == std::string::npos;
        if (line.rfind("```", 0) == 0) {
            fenced = !fenced;
            previousBlank = false;
            continue;
        }
        if (indented && !blank && line.rfind("    ", 0) != 0)
            indented = false;
        if (!indented && previousBlank && !blank && span.empty() && line.rfind("    ", 0) == 0)
            indented = true;
        previousBlank = blank;
        if (fenced || indented)
            continue;
        std::string prose;
        for (char c : line) {
            if (c == '`') {
                if (spanLine != 0) {
                    detail::CheckSpan(tree, spanLine, span, found);
                    span.clear();
                    spanLine = 0;
                } else {
                    spanLine = number;
                }
                prose += ' ';
            } else if (spanLine != 0) {
                span += c;
            } else {
                prose += c;
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
