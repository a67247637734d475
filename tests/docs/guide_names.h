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
//   that start with '/', '$' or '~', and paths into a build folder (build/,
//   build-asan/, build-fuzz/), lie outside the tree and are left out.
// - Every other word of a span is a name: each part of a qualified name
//   (`meter::TMeterLink::PressKey`) must be a whole word of the tree's text
//   files other than Markdown files (sources, CMake files, scripts,
//   translation sources, data); a name that ends in '*' is a prefix of one
//   (`btn*`). One-letter words (the prefixes `T`, `g`, `F`) and numbers are
//   left out. Each part of a qualified name after the first must be a member
//   of the part before it: the sources hold "Owner::Member", or the body of a
//   class, struct, union, enum or namespace Owner holds the word Member.
// - A name given with a file, "`Name` (path ...)" or "(`Name`, path)", must be
//   found in that file: the word there, and for a qualified name every part a
//   member of the one before it in that file.
// - Outside code, a word that holds a '/' and begins with a top-level folder of
//   the tree (app/main_form.cpp) is a path as above.
#pragma once

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
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
                if (name[0] == '.' || (it.depth() == 0 && IsBuildFolder(name)) ||
                    fs::exists(it->path() / "CMakeCache.txt", ec))
                    it.disable_recursion_pending();
                else
                    FPaths.insert(relative.generic_string() + "/");
                continue;
            }
            FPaths.insert(relative.generic_string());
            std::string s = relative.extension() == ".md" ? "" : ReadFile(it->path());
            if (s.find('\0') != std::string::npos)
                continue; // a picture or another binary file
            for (auto w = std::sregex_iterator(s.begin(), s.end(), word);
                 w != std::sregex_iterator(); ++w)
                FWords.insert(w->str());
            if (!s.empty())
                FTexts.emplace(relative.generic_string(), std::move(s));
        }
        for (const auto &[file, text] : FTexts)
            FindBodies(file, text);
    }

    // The folders the scripts build in.
    static bool IsBuildFolder(const std::string &name)
    {
        return name == "build" || name == "build-asan" || name == "build-fuzz";
    }

    bool IsFile(const std::string &path) const { return FPaths.count(path) != 0; }

    // Whether a file's text holds word as a whole word.
    bool FileHasWord(const std::string &file, const std::string &word) const
    {
        const auto it = FTexts.find(file);
        return it != FTexts.end() && HasWordIn(it->second, word, 0, it->second.size());
    }

    // Whether member is a member of owner (see the head of this file), in the
    // whole tree or, given a file, in that file.
    bool IsMember(const std::string &owner, const std::string &member,
                  const std::string &file = std::string()) const
    {
        const std::string qualified = owner + "::" + member;
        for (const auto &[name, text] : FTexts)
            if ((file.empty() || name == file) && HasWordIn(text, qualified, 0, text.size()))
                return true;
        const auto bodies = FBodies.equal_range(owner);
        for (auto b = bodies.first; b != bodies.second; ++b)
            if ((file.empty() || b->second.File == file) &&
                HasWordIn(FTexts.at(b->second.File), member, b->second.Begin, b->second.End))
                return true;
        return false;
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
    static bool IsWordChar(char c)
    {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
    }

    static bool HasWordIn(const std::string &text, const std::string &word, size_t begin,
                          size_t end)
    {
        for (size_t at = text.find(word, begin); at != std::string::npos && at + word.size() <= end;
             at = text.find(word, at + 1))
            if ((at == 0 || !IsWordChar(text[at - 1])) &&
                (at + word.size() == text.size() || !IsWordChar(text[at + word.size()])))
                return true;
        return false;
    }

    // The bodies ({...}) of the classes, structs, unions, enums and namespaces
    // a text defines, by name: a keyword, the name, and up to the '{' no ';'
    // or parenthesis (a declaration or a function, not a definition).
    void FindBodies(const std::string &file, const std::string &text)
    {
        for (const char *keyword : {"class", "struct", "union", "enum", "namespace"}) {
            const std::string k = keyword;
            for (size_t at = text.find(k); at != std::string::npos; at = text.find(k, at + 1)) {
                if ((at > 0 && IsWordChar(text[at - 1])) || at + k.size() >= text.size() ||
                    !std::isspace(static_cast<unsigned char>(text[at + k.size()])))
                    continue;
                size_t i = at + k.size();
                while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
                    ++i;
                if (k == "enum" &&
                    (text.compare(i, 6, "class ") == 0 || text.compare(i, 7, "struct ") == 0))
                    i = text.find(' ', i) + 1;
                const size_t nameBegin = i;
                while (i < text.size() && (IsWordChar(text[i]) || text[i] == ':'))
                    ++i;
                std::string name = text.substr(nameBegin, i - nameBegin);
                if (const size_t last = name.rfind("::"); last != std::string::npos)
                    name = name.substr(last + 2); // namespace a::b, class Outer::Inner
                const size_t open = text.find_first_of("{;()}", i);
                if (name.empty() || open == std::string::npos || text[open] != '{')
                    continue;
                int depth = 0;
                size_t close = open;
                for (; close < text.size(); ++close) {
                    depth += text[close] == '{' ? 1 : text[close] == '}' ? -1 : 0;
                    if (depth == 0)
                        break;
                }
                FBodies.emplace(name, TBody{file, open, close});
            }
        }
    }

    struct TBody {
        std::string File;
        size_t Begin = 0, End = 0;
    };
    std::set<std::string> FPaths, FWords;
    std::map<std::string, std::string> FTexts; // text files other than Markdown, by path
    std::multimap<std::string, TBody> FBodies; // by the name of what they belong to
};

namespace detail {

// The parts of a qualified name (`meter::TMeterLink::PressKey`) when every
// part is a word of the tree; empty otherwise (a missing word is reported as
// such).
inline std::vector<std::string> KnownParts(const TTree &tree, const std::string &name)
{
    static const std::regex identifier(R"([A-Za-z_][A-Za-z0-9_]*)");
    std::vector<std::string> parts;
    for (size_t from = 0;;) {
        const size_t to = name.find("::", from);
        parts.push_back(name.substr(from, to == std::string::npos ? to : to - from));
        if (!std::regex_match(parts.back(), identifier) || !tree.HasWord(parts.back()))
            return {};
        if (to == std::string::npos)
            return parts;
        from = to + 2;
    }
}

// Each part of a qualified name a member of the one before it.
inline void CheckMembers(const TTree &tree, int line, const std::string &name,
                         std::vector<TProblem> &found)
{
    const std::vector<std::string> parts = KnownParts(tree, name);
    for (size_t i = 1; i < parts.size(); ++i)
        if (!tree.IsMember(parts[i - 1], parts[i])) {
            found.push_back({line, name, parts[i] + " is no member of " + parts[i - 1]});
            return;
        }
}

// A name given with a file: the first name of the span, found in that file.
inline void CheckNameInFile(const TTree &tree, int line, const std::string &span,
                            const std::string &file, std::vector<TProblem> &found)
{
    static const std::regex first(R"(^\s*([A-Za-z_][A-Za-z0-9_]*(::[A-Za-z_][A-Za-z0-9_]*)*))");
    std::smatch m;
    if (!tree.IsFile(file) || !std::regex_search(span, m, first))
        return;
    const std::string name = m[1].str();
    const std::vector<std::string> parts = KnownParts(tree, name);
    bool there = !parts.empty() && tree.FileHasWord(file, parts.back());
    for (size_t i = 1; i < parts.size() && there; ++i)
        there = tree.IsMember(parts[i - 1], parts[i], file);
    if (!parts.empty() && !there)
        found.push_back({line, name, "not found in " + file});
}

inline void CheckPath(const TTree &tree, int line, const std::string &path,
                      std::vector<TProblem> &found)
{
    const bool outside = std::string_view("/$~").find(path[0]) != std::string_view::npos ||
                         TTree::IsBuildFolder(path.substr(0, path.find('/')));
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
        if (word.find("::") != std::string::npos)
            CheckMembers(tree, line, word, found);
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
    // A file given beside a span: "`Name` (path" or "(`Name`, path)".
    static const std::regex fileAfter(R"(^\s*\(([A-Za-z0-9_./-]+/[A-Za-z0-9_.-]+))");
    static const std::regex fileInside(R"(^,\s*([A-Za-z0-9_./-]+/[A-Za-z0-9_.-]+)\))");
    std::vector<std::string> lines;
    {
        std::istringstream in(guide);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
    }
    std::vector<TProblem> found;
    bool fenced = false, indented = false, previousBlank = true;
    std::string span;  // a code span still open at the end of a line
    int spanLine = 0;  // the line it began on, 0 outside a span
    char before = ' '; // the character before the span's opening backtick
    for (size_t index = 0; index < lines.size(); ++index) {
        const std::string &line = lines[index];
        const int number = int(index) + 1;
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
        for (size_t k = 0; k < line.size(); ++k) {
            const char c = line[k];
            if (c != '`') {
                (spanLine != 0 ? span : prose) += c;
                continue;
            }
            prose += ' ';
            if (spanLine == 0) {
                spanLine = number;
                before = k > 0 ? line[k - 1] : ' ';
                continue;
            }
            std::string after = line.substr(k + 1);
            if (after.find_first_not_of(" \t\r") == std::string::npos && index + 1 < lines.size())
                after += " " + lines[index + 1];
            std::smatch m;
            std::string file;
            if (std::regex_search(after, m, fileAfter) ||
                (before == '(' && std::regex_search(after, m, fileInside)))
                file = m[1].str();
            while (!file.empty() && file.back() == '.')
                file.pop_back();
            if (!file.empty())
                detail::CheckNameInFile(tree, spanLine, span, file, found);
            detail::CheckSpan(tree, spanLine, std::exchange(span, {}), found);
            spanLine = 0;
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
