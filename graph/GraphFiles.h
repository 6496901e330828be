// Whole files in and out, for the picture files (picture.h). Win32
// (picture_file.cpp), declared without <windows.h>. Paths are ANSI code page
// strings, as the rest of Graph's text. Any thread: nothing is shared but the
// files themselves.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Writes `size` bytes of `data` as the file `path`, replacing any file there:
// first as a new file beside it (same folder), which is then renamed over the
// target. False on any failure (null or empty path, null data with a size,
// missing folder, disk full, target a folder or locked); then no new file is
// left and a file already at `path` is unchanged.
bool Graph_WriteFileWhole(const char* path, const void* data, size_t size);

// The whole file `path` into `out`. False (out untouched) when it cannot be
// opened or read or holds more than `limit` bytes, so a caller's limit bounds
// what is allocated.
bool Graph_ReadFileWhole(const char* path, std::vector<uint8_t>& out, size_t limit);
