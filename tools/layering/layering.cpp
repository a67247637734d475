#include "tools/layering/layering.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <regex>
#include <sstream>
#include <string_view>
#include <utility>

namespace fs = std::filesystem;

namespace layering {

namespace {

const char kDependsOn[] = "Depends on: ";

std::string Trim(const std::string &s)
{
    const size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos)
        return std::string();
    const size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

std::string ReadFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Folders the walk leaves out: hidden ones, and build folders: those CMake
// configured (they hold a CMakeCache.txt) and, at the top, the ones the
// scripts build in, configured or not.
bool Skipped(const fs::path &root, const fs::path &relativeDir)
{
    const std::string name = relativeDir.filename().string();
    if (!name.empty() && name[0] == '.')
        return true;
    if (relativeDir.parent_path().empty() &&
        (name == "build" || name == "build-asan" || name == "build-fuzz"))
        return true;
    std::error_code ec;
    return fs::exists(root / relativeDir / "CMakeCache.txt", ec);
}

// Items of a Depends on line: split at commas outside parentheses.
std::vector<std::string> SplitItems(const std::string &text)
{
    std::vector<std::string> items;
    std::string current;
    int depth = 0;
    for (char c : text) {
        if (c == '(')
            ++depth;
        else if (c == ')' && depth > 0)
            --depth;
        if (c == ',' && depth == 0) {
            items.push_back(Trim(current));
            current.clear();
        } else {
            current += c;
        }
    }
    items.push_back(Trim(current));
    return items;
}

bool IsQtHeader(const std::string &header)
{
    if (header.size() >= 2 && header[0] == 'Q' &&
        std::isupper(static_cast<unsigned char>(header[1])))
        return true;
    return header.rfind("Qt", 0) == 0 && header.find('/') != std::string::npos;
}

bool IsQtTarget(const std::string &target)
{
    return target.rfind("Qt6::", 0) == 0 || target.rfind("Qt::", 0) == 0;
}

// The extensions of C and C++ sources and of the files they include.
bool IsSource(const fs::path &path)
{
    static const std::set<std::string> extensions = {
        ".h",   ".hh",  ".hpp", ".hxx", ".h++", ".inc", ".inl", ".ipp",  ".tpp",
        ".tcc", ".def", ".c",   ".cc",  ".cpp", ".cxx", ".c++", ".cppm", ".ixx"};
    return extensions.count(path.extension().string()) != 0;
}

std::string ReadmeOf(const std::string &folder)
{
    return folder + "/README.md";
}

// Why folder may not use other, for messages.
std::string Refusal(const TRule &rule, const std::string &other)
{
    return "which " + rule.Folder + " may not use (" + ReadmeOf(rule.Folder) + " does not name " +
           other + ")";
}

// Reports in file and line order, whatever order the folder walk took.
void SortByPlace(std::vector<TViolation> &found)
{
    std::stable_sort(found.begin(), found.end(), [](const TViolation &a, const TViolation &b) {
        return a.File != b.File ? a.File < b.File : a.Line < b.Line;
    });
}

bool MayUse(const TRule &rule, const std::string &folder)
{
    return folder == rule.Folder || rule.AnyFolder || rule.Folders.count(folder) != 0;
}

} // namespace

std::string TViolation::Describe() const
{
    return File + (Line > 0 ? ":" + std::to_string(Line) : std::string()) + ": " + Message;
}

std::vector<std::string> ParseDependsItems(const std::string &items,
                                           const std::set<std::string> &topFolders, TRule &rule)
{
    static const std::regex qtWord(R"((^|[^A-Za-z])Qt([^A-Za-z]|$))");
    static const std::regex folderWord(R"(^([a-z0-9_]+(/[a-z0-9_]+)*)/?([ (]|$))");
    // The items end with the first sentence; what follows is a remark.
    std::string text;
    int depth = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const char c = items[i];
        depth += c == '(' ? 1 : c == ')' && depth > 0 ? -1 : 0;
        if (c == '.' && depth == 0 && (i + 1 == items.size() || items[i + 1] == ' '))
            break;
        text += c;
    }
    std::vector<std::string> folders;
    for (const std::string &item : SplitItems(text)) {
        std::smatch m;
        if (item == "nothing" || item.rfind("nothing ", 0) == 0)
            continue;
        if (item.rfind("any project folder", 0) == 0) {
            rule.AnyFolder = true;
            continue;
        }
        // A folder first: its remark may well mention Qt ("its Qt-free part").
        if (std::regex_search(item, m, folderWord)) {
            const std::string folder = m[1].str();
            if (topFolders.count(folder.substr(0, folder.find('/'))) != 0) {
                rule.Folders.insert(folder);
                folders.push_back(folder);
                continue;
            }
        }
        if (std::regex_search(item, qtWord))
            rule.Qt = true;
    }
    return folders;
}

TRules TRules::Read(const fs::path &root, std::vector<TViolation> &problems)
{
    TRules rules;
    rules.FRoot = root;
    std::set<std::string> topFolders;
    for (const auto &entry : fs::directory_iterator(root))
        if (entry.is_directory() && !Skipped(root, entry.path().filename()))
            topFolders.insert(entry.path().filename().string());

    std::vector<std::pair<std::string, std::vector<std::string>>> named; // readme, folders
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        const fs::path relative = fs::relative(it->path(), root);
        if (it->is_directory()) {
            if (Skipped(root, relative))
                it.disable_recursion_pending();
            continue;
        }
        if (relative.filename() != "README.md" || relative.parent_path().empty())
            continue;
        TRule rule;
        rule.Folder = relative.parent_path().generic_string();
        const std::string readme = relative.generic_string();
        std::vector<std::string> folders;
        int found = 0;
        const std::vector<std::string> lines = Lines(ReadFile(it->path()));
        for (size_t i = 0; i < lines.size(); ++i) {
            const std::string &line = lines[i];
            const int number = static_cast<int>(i) + 1;
            if (line.rfind(kDependsOn, 0) == 0) {
                if (++found > 1) {
                    problems.push_back({readme, number, "a second Depends on line"});
                    continue;
                }
                rule.Line = number;
                // The line may wrap: its paragraph runs to the next empty line.
                std::string items = line.substr(sizeof kDependsOn - 1);
                for (size_t j = i + 1; j < lines.size() && !Trim(lines[j]).empty(); ++j)
                    items += " " + Trim(lines[j]);
                folders = ParseDependsItems(items, topFolders, rule);
            } else if (line.rfind("Depends on", 0) == 0 || line.rfind("May depend on", 0) == 0) {
                problems.push_back(
                    {readme, number, "write the dependencies as one line \"Depends on: ...\""});
            }
        }
        if (found == 0)
            problems.push_back({readme, 0, "no \"Depends on: ...\" line"});
        named.emplace_back(readme, folders);
        rules.FRules[rule.Folder] = rule;
    }
    for (const auto &[readme, folders] : named)
        for (const std::string &folder : folders)
            if (rules.FRules.count(folder) == 0)
                problems.push_back(
                    {readme, rules.FRules[fs::path(readme).parent_path().generic_string()].Line,
                     "names " + folder + ", which is no folder with a README"});
    SortByPlace(problems);
    return rules;
}

std::string TRules::FolderOf(const std::string &relativePath) const
{
    for (fs::path p = fs::path(relativePath).parent_path(); !p.empty(); p = p.parent_path())
        if (FRules.count(p.generic_string()))
            return p.generic_string();
    return std::string();
}

const TRule *TRules::RuleOf(const std::string &relativeFile) const
{
    const auto it = FRules.find(FolderOf(relativeFile));
    return it == FRules.end() ? nullptr : &it->second;
}

namespace {

// One include of a source text: its line, as written, and the project file it
// names (empty when it names none). Form tells why an include is not plain.
struct TInclude {
    int Line = 0;
    std::string Name;
    bool Angled = false;
    std::string Target;
    std::string Form;   // empty for a plain include
    bool Macro = false; // no name written: a macro (or nothing) names the header
    std::string Written() const { return Angled ? "<" + Name + ">" : "\"" + Name + "\""; }
};

// What a character of a source text is, after lines are spliced and comments
// and literals found, as the compiler's first phases see it.
enum class TKind { Code, Comment, Literal };

// One line as the preprocessor reads it: physical lines joined where one ends
// in a backslash.
struct TLogicalLine {
    int Line = 0;         // of its first physical line
    bool Spliced = false; // joined from more than one physical line
    std::string Text;
    std::vector<TKind> Kinds;
};

std::vector<TLogicalLine> LogicalLines(const std::string &text)
{
    std::vector<TLogicalLine> lines(1);
    lines.back().Line = 1;
    int physical = 1;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\') {
            size_t j = i + 1;
            if (j < text.size() && text[j] == '\r')
                ++j;
            if (j < text.size() && text[j] == '\n') {
                ++physical;
                lines.back().Spliced = true;
                i = j;
                continue;
            }
        }
        if (c == '\n') {
            ++physical;
            lines.emplace_back();
            lines.back().Line = physical;
            continue;
        }
        lines.back().Text += c;
    }
    // Comments and literals, whose state runs on across lines.
    enum { Code, Block, Raw } state = Code;
    std::string rawEnd; // )delimiter" of the raw string open
    for (TLogicalLine &l : lines) {
        const std::string &s = l.Text;
        l.Kinds.assign(s.size(), TKind::Code);
        size_t i = 0;
        while (i < s.size()) {
            if (state == Block) {
                const size_t end = s.find("*/", i);
                const size_t stop = end == std::string::npos ? s.size() : end + 2;
                std::fill(l.Kinds.begin() + std::ptrdiff_t(i),
                          l.Kinds.begin() + std::ptrdiff_t(stop), TKind::Comment);
                if (end != std::string::npos)
                    state = Code;
                i = stop;
                continue;
            }
            if (state == Raw) {
                const size_t end = s.find(rawEnd, i);
                const size_t stop = end == std::string::npos ? s.size() : end + rawEnd.size();
                std::fill(l.Kinds.begin() + std::ptrdiff_t(i),
                          l.Kinds.begin() + std::ptrdiff_t(stop), TKind::Literal);
                if (end != std::string::npos)
                    state = Code;
                i = stop;
                continue;
            }
            const char c = s[i];
            if (c == '/' && i + 1 < s.size() && s[i + 1] == '/') {
                std::fill(l.Kinds.begin() + std::ptrdiff_t(i), l.Kinds.end(), TKind::Comment);
                break;
            }
            if (c == '/' && i + 1 < s.size() && s[i + 1] == '*') {
                l.Kinds[i] = l.Kinds[i + 1] = TKind::Comment;
                state = Block;
                i += 2;
                continue;
            }
            if (c == '"' && i > 0 && s[i - 1] == 'R' &&
                (i == 1 || !std::isalnum(static_cast<unsigned char>(s[i - 2])) ||
                 std::string_view("8LuU").find(s[i - 2]) != std::string_view::npos)) {
                const size_t open = s.find('(', i);
                if (open != std::string::npos) {
                    rawEnd = ")" + s.substr(i + 1, open - i - 1) + "\"";
                    std::fill(l.Kinds.begin() + std::ptrdiff_t(i),
                              l.Kinds.begin() + std::ptrdiff_t(open + 1), TKind::Literal);
                    state = Raw;
                    i = open + 1;
                    continue;
                }
            }
            // A quote after a digit separates digits (1'000'000).
            if (c == '"' ||
                (c == '\'' && (i == 0 || !std::isdigit(static_cast<unsigned char>(s[i - 1]))))) {
                size_t j = i + 1;
                while (j < s.size() && s[j] != c)
                    j += s[j] == '\\' ? 2 : 1;
                const size_t stop = std::min(j + 1, s.size());
                std::fill(l.Kinds.begin() + std::ptrdiff_t(i),
                          l.Kinds.begin() + std::ptrdiff_t(stop), TKind::Literal);
                i = stop;
                continue;
            }
            ++i;
        }
        if (state == Code)
            rawEnd.clear();
    }
    return lines;
}

// The include directive of one logical line, if it is one. An include must
// name its header plainly, on its own line, with no comment before the name:
// anything else is told in Form (the header a macro names, or a name hidden
// from a reader of lines, would pass unchecked).
bool IncludeOfLine(const TLogicalLine &l, TInclude &inc)
{
    const std::string &s = l.Text;
    bool comment = false;
    size_t i = 0;
    auto skipBlank = [&] {
        for (; i < s.size(); ++i) {
            if (l.Kinds[i] == TKind::Comment)
                comment = true;
            else if (!std::isspace(static_cast<unsigned char>(s[i])))
                break;
        }
    };
    skipBlank();
    if (i == s.size() || s[i] != '#' || l.Kinds[i] != TKind::Code)
        return false;
    ++i;
    skipBlank();
    const size_t word = i;
    while (i < s.size() && l.Kinds[i] == TKind::Code &&
           (std::isalnum(static_cast<unsigned char>(s[i])) || s[i] == '_'))
        ++i;
    const std::string directive = s.substr(word, i - word);
    if (directive != "include" && directive != "include_next" && directive != "import")
        return false;
    inc.Line = l.Line;
    skipBlank();
    const char open = i < s.size() ? s[i] : '\0';
    const size_t close = open == '<'   ? s.find('>', i + 1)
                         : open == '"' ? s.find('"', i + 1)
                                       : std::string::npos;
    if (close == std::string::npos) {
        // A macro, or no name at all.
        std::string rest = Trim(s.substr(i));
        inc.Name = rest;
        inc.Form = "names its header through a macro (" + (rest.empty() ? "nothing" : rest) + ")";
        inc.Macro = true;
        return true;
    }
    inc.Angled = open == '<';
    inc.Name = s.substr(i + 1, close - i - 1);
    for (size_t k = i; k <= close; ++k)
        comment = comment || l.Kinds[k] == TKind::Comment;
    if (l.Spliced)
        inc.Form = "runs across a line continuation";
    else if (comment)
        inc.Form = "stands behind a comment";
    return true;
}

std::vector<TInclude> IncludesOf(const TRules &rules, const std::string &relativeFile,
                                 const std::string &text)
{
    std::vector<TInclude> found;
    const fs::path here = fs::path(relativeFile).parent_path();
    for (const TLogicalLine &l : LogicalLines(text)) {
        TInclude inc;
        if (!IncludeOfLine(l, inc))
            continue;
        if (inc.Macro) {
            found.push_back(std::move(inc));
            continue;
        }
        // Every target has the project folder on its include path, so an
        // angle-bracket include may reach a project header as well.
        if (!inc.Angled && fs::is_regular_file(rules.Root() / here / inc.Name))
            inc.Target = (here / inc.Name).lexically_normal().generic_string();
        else if ((!inc.Angled || inc.Name.find('/') != std::string::npos) &&
                 fs::is_regular_file(rules.Root() / inc.Name))
            inc.Target = fs::path(inc.Name).lexically_normal().generic_string();
        found.push_back(std::move(inc));
    }
    return found;
}

// Calls f(relative path, text) for every file below the project folder that
// the compiler may include: every file with a C or C++ source or header
// extension, and every other file of the tree that one of them includes.
template <class F> void ForEachSource(const TRules &rules, F &&f)
{
    const fs::path &root = rules.Root();
    std::vector<std::string> pending;
    std::set<std::string> seen;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        const fs::path relative = fs::relative(it->path(), root);
        if (it->is_directory()) {
            if (Skipped(root, relative))
                it.disable_recursion_pending();
            continue;
        }
        if (IsSource(relative) && seen.insert(relative.generic_string()).second)
            pending.push_back(relative.generic_string());
    }
    std::sort(pending.begin(), pending.end());
    while (!pending.empty()) {
        const std::string file = pending.back();
        pending.pop_back();
        const std::string text = ReadFile(root / file);
        for (const TInclude &inc : IncludesOf(rules, file, text))
            if (!inc.Target.empty() && seen.insert(inc.Target).second)
                pending.push_back(inc.Target);
        f(file, text);
    }
}

struct TTarget {
    std::string Name, Folder;
    std::vector<std::string> Links;   // every name a link item or a generator expression holds
    std::vector<std::string> Sources; // relative to the project folder, in the tree
};

// The names one item of a link or source list may stand for. A plain item is
// itself; a generator expression ($<BUILD_INTERFACE:x>, $<$<CONFIG:Debug>:x>,
// $<TARGET_OBJECTS:x>) is taken apart into every name it holds, whatever its
// conditions, so that no link hides inside one.
std::vector<std::string> NamesOf(const std::string &item)
{
    if (item.find("$<") == std::string::npos)
        return {item};
    std::vector<std::string> names;
    std::string current;
    for (size_t i = 0; i <= item.size(); ++i) {
        const char c = i < item.size() ? item[i] : ';';
        if (c == ':' && i + 1 < item.size() && item[i + 1] == ':') {
            current += "::";
            ++i;
        } else if (std::string_view("$<>:,;").find(c) != std::string_view::npos) {
            if (!current.empty())
                names.push_back(std::exchange(current, {}));
        } else {
            current += c;
        }
    }
    return names;
}

// Splits a ';'-separated CMake list, keeping the ';' inside generator expressions.
std::vector<std::string> ListItems(const std::string &list)
{
    std::vector<std::string> items;
    std::string current;
    int depth = 0;
    for (size_t i = 0; i < list.size(); ++i) {
        const char c = list[i];
        if (c == '$' && i + 1 < list.size() && list[i + 1] == '<')
            ++depth;
        else if (c == '>' && depth > 0)
            --depth;
        if (c == ';' && depth == 0)
            items.push_back(std::exchange(current, {}));
        else
            current += c;
    }
    items.push_back(current);
    return items;
}

// The targets of a link graph, each with the folder (with a README) it lies in.
std::vector<TTarget> ReadLinkGraph(const TRules &rules, const std::string &graph)
{
    std::vector<TTarget> targets;
    for (const std::string &line : Lines(graph)) {
        std::istringstream fields(line);
        TTarget t;
        std::string dir, links, sources;
        if (!std::getline(fields, t.Name, '\t') || !std::getline(fields, dir, '\t'))
            continue;
        std::getline(fields, links, '\t');
        std::getline(fields, sources);
        const std::string relative = fs::relative(dir, rules.Root()).generic_string();
        t.Folder = rules.FolderOf(relative + "/CMakeLists.txt");
        for (const std::string &item : ListItems(links))
            if (!item.empty() && item.rfind("::@", 0) != 0) // CMake's directory markers
                for (const std::string &name : NamesOf(item))
                    t.Links.push_back(name);
        for (const std::string &item : ListItems(sources)) {
            if (item.empty())
                continue;
            if (item.find("$<") != std::string::npos) { // $<TARGET_OBJECTS:x> and the like
                for (const std::string &name : NamesOf(item))
                    t.Links.push_back(name);
                continue;
            }
            const fs::path file =
                fs::path(item).is_absolute() ? fs::path(item) : fs::path(dir) / item;
            const fs::path inTree = file.lexically_normal().lexically_relative(rules.Root());
            if (inTree.empty() || *inTree.begin() == "..")
                continue; // made in the build folder, or from outside the tree
            bool built = false;
            for (fs::path p = inTree.parent_path(); !p.empty() && !built; p = p.parent_path())
                built = Skipped(rules.Root(), p);
            if (!built)
                t.Sources.push_back(inTree.generic_string());
        }
        targets.push_back(std::move(t));
    }
    return targets;
}

// The includes of a text that a folder's rule does not allow. suffix ends the
// messages (it names the target when the file is compiled into one of
// another folder).
void CheckIncludes(const TRules &rules, const TRule &rule, const std::string &relativeFile,
                   const std::string &text, const std::string &suffix,
                   std::vector<TViolation> &found)
{
    for (const TInclude &inc : IncludesOf(rules, relativeFile, text)) {
        if (!inc.Form.empty() && suffix.empty()) {
            const std::string what = inc.Macro ? "an include that " + inc.Form
                                               : "the include of " + inc.Written() + " " + inc.Form;
            found.push_back({relativeFile, inc.Line,
                             what + ": an include names its header plainly on a line of its own"});
        }
        if (inc.Target.empty()) {
            if (inc.Macro)
                continue;
            if (!inc.Angled && suffix.empty())
                found.push_back(
                    {relativeFile, inc.Line,
                     "includes " + inc.Written() + ", which is no file of the project"});
            else if (inc.Angled && IsQtHeader(inc.Name) && !rule.Qt)
                found.push_back({relativeFile, inc.Line,
                                 "includes " + inc.Written() + suffix + ", but " +
                                     ReadmeOf(rule.Folder) + " allows no Qt"});
            continue;
        }
        const std::string folder = rules.FolderOf(inc.Target);
        if (!MayUse(rule, folder))
            found.push_back({relativeFile, inc.Line,
                             "includes " + inc.Written() + " of " + folder + suffix + ", " +
                                 Refusal(rule, folder)});
    }
}

// The targets' folders, by target name.
std::map<std::string, std::string> FoldersOfTargets(const std::vector<TTarget> &targets)
{
    std::map<std::string, std::string> folderOf;
    for (const TTarget &t : targets)
        folderOf[t.Name] = t.Folder;
    return folderOf;
}

} // namespace

std::vector<TViolation> CheckSource(const TRules &rules, const std::string &relativeFile,
                                    const std::string &text)
{
    std::vector<TViolation> found;
    const TRule *rule = rules.RuleOf(relativeFile);
    if (!rule) {
        found.push_back({relativeFile, 0, "lies in no folder with a README"});
        return found;
    }
    CheckIncludes(rules, *rule, relativeFile, text, "", found);
    return found;
}

std::vector<TViolation> CheckSources(const TRules &rules)
{
    std::vector<TViolation> found;
    ForEachSource(rules, [&](const std::string &file, const std::string &text) {
        std::vector<TViolation> v = CheckSource(rules, file, text);
        found.insert(found.end(), v.begin(), v.end());
    });
    SortByPlace(found);
    return found;
}

std::map<std::string, std::set<std::string>> FoldersUsed(const TRules &rules,
                                                         const std::string &graph)
{
    std::map<std::string, std::set<std::string>> used;
    auto useIncludes = [&](const std::string &folder, const std::string &file,
                           const std::string &text) {
        for (const TInclude &inc : IncludesOf(rules, file, text))
            if (!inc.Target.empty())
                if (const std::string other = rules.FolderOf(inc.Target); other != folder)
                    used[folder].insert(other);
    };
    ForEachSource(rules, [&](const std::string &file, const std::string &text) {
        useIncludes(rules.FolderOf(file), file, text);
    });
    const std::vector<TTarget> targets = ReadLinkGraph(rules, graph);
    const std::map<std::string, std::string> folderOf = FoldersOfTargets(targets);
    for (const TTarget &t : targets) {
        for (const std::string &link : t.Links)
            if (const auto other = folderOf.find(link);
                other != folderOf.end() && other->second != t.Folder)
                used[t.Folder].insert(other->second);
        // A source of another folder compiled here uses that folder, and
        // what it includes.
        for (const std::string &source : t.Sources)
            if (const std::string other = rules.FolderOf(source); other != t.Folder) {
                used[t.Folder].insert(other);
                useIncludes(t.Folder, source, ReadFile(rules.Root() / source));
            }
    }
    return used;
}

std::vector<TViolation> CheckNamedFoldersUsed(const TRules &rules, const std::string &graph,
                                              const std::string &below)
{
    const std::map<std::string, std::set<std::string>> used = FoldersUsed(rules, graph);
    std::vector<TViolation> found;
    for (const auto &[folder, rule] : rules.Rules()) {
        if (folder.rfind(below + "/", 0) != 0)
            continue;
        const auto it = used.find(folder);
        for (const std::string &named : rule.Folders)
            if (it == used.end() || it->second.count(named) == 0)
                found.push_back(
                    {ReadmeOf(folder), rule.Line,
                     "names " + named + ", which no include or link of " + folder + " uses"});
    }
    SortByPlace(found);
    return found;
}

std::vector<TViolation> CheckLinkGraph(const TRules &rules, const std::string &graph)
{
    const std::vector<TTarget> targets = ReadLinkGraph(rules, graph);
    const std::map<std::string, std::string> folderOf = FoldersOfTargets(targets);

    std::vector<TViolation> found;
    for (const TTarget &t : targets) {
        const std::string file = t.Folder.empty() ? t.Name : t.Folder + "/CMakeLists.txt";
        const auto rule = rules.Rules().find(t.Folder);
        if (rule == rules.Rules().end()) {
            found.push_back({file, 0, "target " + t.Name + " lies in no folder with a README"});
            continue;
        }
        std::set<std::string> reported; // a name a list holds twice ($<LINK_ONLY:x> and x)
        for (const std::string &link : t.Links) {
            if (!reported.insert(link).second)
                continue;
            const auto other = folderOf.find(link);
            if (other != folderOf.end()) {
                if (!MayUse(rule->second, other->second))
                    found.push_back({file, 0,
                                     t.Name + " links " + link + " of " + other->second + ", " +
                                         Refusal(rule->second, other->second)});
            } else if (IsQtTarget(link) && !rule->second.Qt) {
                found.push_back(
                    {file, 0,
                     t.Name + " links " + link + ", but " + ReadmeOf(t.Folder) + " allows no Qt"});
            }
        }
        // A source of another folder compiled into this target is held to
        // the rules of both: its own (CheckSources) and the target's here.
        for (const std::string &source : t.Sources) {
            const std::string other = rules.FolderOf(source);
            if (other == t.Folder)
                continue;
            if (!MayUse(rule->second, other))
                found.push_back({file, 0,
                                 t.Name + " compiles " + source + " of " + other + ", " +
                                     Refusal(rule->second, other)});
            CheckIncludes(rules, rule->second, source, ReadFile(rules.Root() / source),
                          " (compiled into " + t.Name + " of " + t.Folder + ")", found);
        }
    }
    return found;
}

} // namespace layering
