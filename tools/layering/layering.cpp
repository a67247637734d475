#include "tools/layering/layering.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <regex>
#include <sstream>

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

// Folders the walk leaves out: hidden ones, and build folders at the top.
bool Skipped(const fs::path &relativeDir)
{
    const std::string name = relativeDir.filename().string();
    if (!name.empty() && name[0] == '.')
        return true;
    return relativeDir.parent_path().empty() && name.rfind("build", 0) == 0;
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

bool IsSource(const fs::path &path)
{
    const std::string ext = path.extension().string();
    return ext == ".h" || ext == ".cpp" || ext == ".def";
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
        if (entry.is_directory() && !Skipped(entry.path().filename()))
            topFolders.insert(entry.path().filename().string());

    std::vector<std::pair<std::string, std::vector<std::string>>> named; // readme, folders
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        const fs::path relative = fs::relative(it->path(), root);
        if (it->is_directory()) {
            if (Skipped(relative))
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
// names (empty when it names none).
struct TInclude {
    int Line = 0;
    std::string Name;
    bool Angled = false;
    std::string Target;
    std::string Written() const { return Angled ? "<" + Name + ">" : "\"" + Name + "\""; }
};

std::vector<TInclude> IncludesOf(const TRules &rules, const std::string &relativeFile,
                                 const std::string &text)
{
    static const std::regex include(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::vector<TInclude> found;
    const fs::path here = fs::path(relativeFile).parent_path();
    const std::vector<std::string> lines = Lines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        std::smatch m;
        if (!std::regex_search(lines[i], m, include))
            continue;
        TInclude inc;
        inc.Line = static_cast<int>(i) + 1;
        inc.Name = m[2].str();
        inc.Angled = m[1].str() == "<";
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

// Calls f(relative path, text) for every source file below the project folder.
template <class F> void ForEachSource(const TRules &rules, F &&f)
{
    const fs::path &root = rules.Root();
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        const fs::path relative = fs::relative(it->path(), root);
        if (it->is_directory()) {
            if (Skipped(relative))
                it.disable_recursion_pending();
            continue;
        }
        if (IsSource(relative))
            f(relative.generic_string(), ReadFile(it->path()));
    }
}

struct TTarget {
    std::string Name, Folder;
    std::vector<std::string> Links;
};

// The targets of a link graph, each with the folder (with a README) it lies in.
std::vector<TTarget> ReadLinkGraph(const TRules &rules, const std::string &graph)
{
    std::vector<TTarget> targets;
    for (const std::string &line : Lines(graph)) {
        std::istringstream fields(line);
        TTarget t;
        std::string dir, links;
        if (!std::getline(fields, t.Name, '\t') || !std::getline(fields, dir, '\t'))
            continue;
        std::getline(fields, links);
        const std::string relative = fs::relative(dir, rules.Root()).generic_string();
        t.Folder = rules.FolderOf(relative + "/CMakeLists.txt");
        std::istringstream items(links);
        for (std::string item; std::getline(items, item, ';');) {
            // Static libraries record their private links as $<LINK_ONLY:x>.
            static const std::string linkOnly = "$<LINK_ONLY:";
            if (item.rfind(linkOnly, 0) == 0 && item.back() == '>')
                item = item.substr(linkOnly.size(), item.size() - linkOnly.size() - 1);
            if (item.empty() || item.rfind("$<", 0) == 0 || item.rfind("::@", 0) == 0)
                continue; // other generator expressions, CMake's directory markers
            t.Links.push_back(item);
        }
        targets.push_back(std::move(t));
    }
    return targets;
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
    for (const TInclude &inc : IncludesOf(rules, relativeFile, text)) {
        if (inc.Target.empty()) {
            if (!inc.Angled)
                found.push_back(
                    {relativeFile, inc.Line,
                     "includes " + inc.Written() + ", which is no file of the project"});
            else if (IsQtHeader(inc.Name) && !rule->Qt)
                found.push_back({relativeFile, inc.Line,
                                 "includes " + inc.Written() + ", but " + ReadmeOf(rule->Folder) +
                                     " allows no Qt"});
            continue;
        }
        const std::string folder = rules.FolderOf(inc.Target);
        if (!MayUse(*rule, folder))
            found.push_back(
                {relativeFile, inc.Line,
                 "includes " + inc.Written() + " of " + folder + ", " + Refusal(*rule, folder)});
    }
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
    ForEachSource(rules, [&](const std::string &file, const std::string &text) {
        const std::string folder = rules.FolderOf(file);
        for (const TInclude &inc : IncludesOf(rules, file, text))
            if (!inc.Target.empty())
                if (const std::string other = rules.FolderOf(inc.Target); other != folder)
                    used[folder].insert(other);
    });
    const std::vector<TTarget> targets = ReadLinkGraph(rules, graph);
    std::map<std::string, std::string> folderOf;
    for (const TTarget &t : targets)
        folderOf[t.Name] = t.Folder;
    for (const TTarget &t : targets)
        for (const std::string &link : t.Links)
            if (const auto other = folderOf.find(link);
                other != folderOf.end() && other->second != t.Folder)
                used[t.Folder].insert(other->second);
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
    std::map<std::string, std::string> folderOf;
    for (const TTarget &t : targets)
        folderOf[t.Name] = t.Folder;

    std::vector<TViolation> found;
    for (const TTarget &t : targets) {
        const std::string file = t.Folder.empty() ? t.Name : t.Folder + "/CMakeLists.txt";
        const auto rule = rules.Rules().find(t.Folder);
        if (rule == rules.Rules().end()) {
            found.push_back({file, 0, "target " + t.Name + " lies in no folder with a README"});
            continue;
        }
        for (const std::string &link : t.Links) {
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
    }
    return found;
}

} // namespace layering
