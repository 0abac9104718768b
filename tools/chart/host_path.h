// File names typed on a command line. Under Wine an absolute Linux path
// ("/home/...") names a file of the host system: it becomes the drive path
// that Wine maps it to ("Z:\home\..."). Anything else is taken as a Windows
// path already (a relative path may use either separator).
#pragma once

#include <string>

std::u16string HostPath(const std::string& typed);
