// The program's version information and the three calls that read it, in
// the shape of the platform's file version API:
//
//   GetFileVersionInfoSize(path)         size of the version block, 0 when none
//   GetFileVersionInfo(path, block)      the block itself
//   VerQueryValue(block, subBlock, out)  one value of the block by path
//
// The version block is compiled into every program that links
// nivora_controls as the Qt resource ":/version/VERSIONINFO" (cmake:
// nivora_version_resource), generated from the project's version. Only the
// running program has version information: any other path has none.
//
// Block layout: UTF-8 text, one value per line, "<path><TAB><value>", where
// path is the query path (compared ignoring case). A line
//   \VarFileInfo\Translation<TAB>0409 04B0 [...]
// lists language id and code page pairs as 4-digit hexadecimal words; its
// value is returned as 16-bit little-endian words (language, code page, ...).
// Every other value is a string and returned as its text. Lines starting with
// '#' and lines without a TAB are ignored.
#pragma once

#include <cstdint>
#include <string>

namespace controls {

// Resource path of the version block.
inline constexpr char kVersionResource[] = ":/version/VERSIONINFO";

// Size in bytes of the version information of the executable at path; 0 when
// it has none (any file but the running program, or a program built without
// the version resource).
std::uint32_t GetFileVersionInfoSize(const std::string &path);
// Copies the version information of path into block (resized to the size);
// false when there is none.
bool GetFileVersionInfo(const std::string &path, std::string &block);
// The value at subBlock ("\VarFileInfo\Translation",
// "\StringFileInfo\040904B0\FileVersion"); false when the block has none.
bool VerQueryValue(const std::string &block, const std::string &subBlock, std::string &value);

} // namespace controls
