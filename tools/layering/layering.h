// The project's dependency rules, read from the folders' READMEs and checked
// against the sources' includes and the build's link graph.
//
// Every folder README (other than the project's own) carries one line
//
//     Depends on: platform/rtl, platform/ui, i18n, Qt 6 Widgets.
//
// which may wrap (it runs to the next empty line); its items end with its
// first sentence. Items are separated by commas (a remark in parentheses is
// part of its item). An item whose first word is a folder of the project names that
// folder; "any project folder" allows them all; an item that mentions Qt
// allows Qt; everything else is an outside library and is not checked.
// "nothing" stands alone for a folder that uses no other.
//
// A file belongs to the nearest folder above it that has a README. It may
// include files of its own folder and of the folders its README names (a
// subfolder with a README of its own is a folder of its own), and Qt headers
// only when Qt is allowed. An include in angle brackets that names a file
// below the project folder (every target has that folder on its include path)
// is held to the same rule as a quoted one. An include must name its header
// plainly, on a line of its own: one that names it through a macro, runs
// across a line continuation or stands behind a comment is a violation by
// itself, as the checker could not follow it. Every file the compiler may
// include is read: C and C++ sources and headers of any extension (.inc,
// .hpp, ...) and any other file of the tree that one of them includes.
//
// A library or program of the build may link the project's targets of those
// same folders, and Qt only when Qt is allowed; links it hands on (INTERFACE)
// and links inside generator expressions count as its links. A source file
// of another folder compiled into a target is held to the rules of both
// folders: the target's folder must be allowed to use the source's, and the
// source's includes must be allowed to the target's folder too.
#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace layering {

// One broken rule: where, and what.
struct TViolation {
    std::string File; // relative to the project folder ('/' separated)
    int Line = 0;     // 1-based; 0 when the violation has no line
    std::string Message;
    std::string Describe() const;
};

// What one folder may depend on.
struct TRule {
    std::string Folder;            // relative to the project folder
    std::set<std::string> Folders; // folders it may use besides itself
    bool AnyFolder = false;        // "any project folder"
    bool Qt = false;               // an item mentions Qt
    int Line = 0;                  // of the Depends on line in its README
};

class TRules {
public:
    // Reads the README.md of every folder below root (hidden folders and
    // build folders left out: those holding a CMakeCache.txt, and build,
    // build-asan and build-fuzz at the top, where the scripts build). Broken READMEs are reported
    // in problems: no Depends on line or more than one, a dependency line in another form, a folder
    // item that names no folder.
    static TRules Read(const std::filesystem::path &root, std::vector<TViolation> &problems);

    // The rule of the folder a file (relative path) belongs to; nullptr when
    // no folder above it has one.
    const TRule *RuleOf(const std::string &relativeFile) const;
    // The folder with a README that a file or folder (relative path)
    // belongs to; empty when none.
    std::string FolderOf(const std::string &relativePath) const;

    const std::filesystem::path &Root() const { return FRoot; }
    const std::map<std::string, TRule> &Rules() const { return FRules; }

private:
    std::filesystem::path FRoot;
    std::map<std::string, TRule> FRules; // by folder
};

// Parses the items of one Depends on line (the text after "Depends on:")
// into rule. topFolders are the project's top-level folders, which tell a
// folder item from an outside library. Returns the folder items as written
// (without a trailing '/'), for the caller to check that they exist.
std::vector<std::string> ParseDependsItems(const std::string &items,
                                           const std::set<std::string> &topFolders, TRule &rule);

// The includes of one source text (file relative to the project folder)
// that its folder may not make.
std::vector<TViolation> CheckSource(const TRules &rules, const std::string &relativeFile,
                                    const std::string &text);

// Every file below the project folder that the compiler may include (see
// the head of this file).
std::vector<TViolation> CheckSources(const TRules &rules);

// The links of the build's targets that their folders may not make. The
// graph has one line per target: name, TAB, its source folder (absolute),
// TAB, the libraries it links separated by ';' (generator expressions as CMake
// keeps them), and optionally TAB, its source files separated by ';'
// (absolute, or relative to its folder; those outside the tree or in a build
// folder are left out). Also the includes of a source of another folder that
// the target's folder may not make.
std::vector<TViolation> CheckLinkGraph(const TRules &rules, const std::string &graph);

// For every folder with a README, the other folders its sources include and
// its targets (in the link graph) link.
std::map<std::string, std::set<std::string>> FoldersUsed(const TRules &rules,
                                                         const std::string &graph);

// The folder items of the READMEs of the folders below one folder that no
// include and no link of theirs uses: a line that names more than its folder
// needs.
std::vector<TViolation> CheckNamedFoldersUsed(const TRules &rules, const std::string &graph,
                                              const std::string &below);

} // namespace layering
