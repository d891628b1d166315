#pragma once
#include <string>
#include <vector>

// File operations the installer needs beyond platform::files: copying through a temporary
// name, folder making and removal, permissions, and refusing symbolic links on the way
// into an installed folder. Paths are UTF-8 host paths.
namespace platform::install {

enum class PathKind { Missing, File, Directory, Link, Other };
// What the path itself is (a symbolic link is reported as Link, not followed).
PathKind kindOf(const std::string& path);

// mkdir with mode 0755; errno-style code, 0 on success.
int makeDirectory(const std::string& path);

// Gives the owner write permission (the stand-in for "attributes normal"); other bits,
// execute bits included, stay. Symbolic links are refused.
bool makeOwnerWritable(const std::string& path);

// Copies src to dst through a temporary file in dst's folder and then a rename (or, with
// overwrite false, a link that fails when dst exists), so dst is never half written. The
// copy keeps the source's permission bits, with owner write added. 0 or an errno code.
int copyFile(const std::string& src, const std::string& dst, bool overwrite);

// Removes a file or a symbolic link (never what it points to); folders are refused.
bool removeFile(const std::string& path);
// Removes an empty folder (not a symbolic link to one).
bool removeDirectory(const std::string& path);

// True when every folder on the way from root to root/parts[0]/.../parts[n-2] is a real
// folder or does not exist yet: no symbolic link can lead the last part out of root.
bool noLinksBelow(const std::string& root, const std::vector<std::string>& parts);

std::string currentDirectory();
// The path with links and "." / ".." resolved; the path itself when it does not exist.
std::string canonical(const std::string& path);

} // namespace platform::install
