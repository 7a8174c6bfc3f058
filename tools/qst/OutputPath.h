#pragma once

#include <string>
#include <vector>

// Why a text output (an export, the figures) may not be written to output: it is one of the
// files the command reads, under any name (a link, another path), a question set, a
// database, or no regular file. Empty when it may be written. Nothing is written over what
// an author owns without being asked for by name and kind.
std::string textOutputRefusal(const std::string& output, const std::vector<std::string>& inputs);

// Why path, a link that loops or points at no file, is neither followed nor replaced: the
// link's own error (its target is missing, too many levels of links). Empty when path is no
// such link.
std::string brokenLinkRefusal(const std::string& path);

// The file begins with an SQLite database's header.
bool isSqliteFile(const std::string& path);
