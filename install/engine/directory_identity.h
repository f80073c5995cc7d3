// What the platform says a directory is (removal_facts.h): its identity through an open handle
// where one can be had, with the directories above it. On Windows 95, which opens no directory
// as a handle and tells no final path, the identity is the path the platform resolves level by
// level, in long names.
#pragma once

#include "install/engine/portable/removal_facts.h"

#include <string>

namespace korva {

// The identity of the absolute `path` (a relative one is never resolved: it depends on where
// the program was started). `exists` is false for an unsafe spelling, a path that is not
// absolute, or a path that does not lead to an existing file or directory; `path` then holds
// the canonical spelling, so that a folder that is missing still guards its own name.
FileIdentity IdentityOf(const std::string& path);

// The identity of `path` and of every directory above it, up to the root of its final path
// (or, where it does not exist, of its spelling).
DirectoryChain ChainOf(const std::string& path);

// The canonical path of the directory above `canonical`; "" for a root.
std::string ParentPath(const std::string& canonical);

} // namespace korva
