// Whole files for the picture files: written beside the target and renamed
// over it, so a reader (or a crash) never meets half a picture.
#include <windows.h>

#include <string>

#include "GraphFiles.h"

namespace {

// Pieces of at most 1 GiB, since ReadFile and WriteFile take a DWORD count.
constexpr size_t kPiece = size_t{1} << 30;

// Makes a file that did not exist beside `path`: "<path>.<pid>-<n>.tmp".
// CREATE_NEW makes it ours alone even with other writers in the folder.
HANDLE CreateBeside(const std::string& path, std::string& name) {
    static volatile LONG counter = 0;
    for (int attempt = 0; attempt < 16; ++attempt) {
        name = path + "." + std::to_string(GetCurrentProcessId()) + "-" +
               std::to_string(InterlockedIncrement(&counter)) + ".tmp";
        HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return INVALID_HANDLE_VALUE;
}

bool WriteAll(HANDLE file, const uint8_t* data, size_t size) {
    while (size != 0) {
        const DWORD ask = static_cast<DWORD>(size < kPiece ? size : kPiece);
        DWORD done = 0;
        if (!WriteFile(file, data, ask, &done, nullptr) || done != ask) return false;
        data += done;
        size -= done;
    }
    return true;
}

} // namespace

bool Graph_WriteFileWhole(const char* path, const void* data, size_t size) {
    if (path == nullptr || *path == '\0' || (data == nullptr && size != 0)) return false;
    std::string temporary;
    HANDLE file = CreateBeside(path, temporary);
    if (file == INVALID_HANDLE_VALUE) return false;
    // Flushed before the rename: otherwise a crash soon after could leave the
    // new name on a file whose bytes never reached the disk.
    bool ok = WriteAll(file, static_cast<const uint8_t*>(data), size) && FlushFileBuffers(file);
    ok = CloseHandle(file) && ok;
    ok = ok && MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileA(temporary.c_str());
    return ok;
}

bool Graph_ReadFileWhole(const char* path, std::vector<uint8_t>& out, size_t limit) {
    if (path == nullptr || *path == '\0') return false;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) && static_cast<uint64_t>(size.QuadPart) <= limit;
    std::vector<uint8_t> bytes;
    if (ok) bytes.resize(static_cast<size_t>(size.QuadPart));
    for (size_t at = 0; ok && at < bytes.size();) {
        const size_t left = bytes.size() - at;
        const DWORD ask = static_cast<DWORD>(left < kPiece ? left : kPiece);
        DWORD done = 0;
        // A file that shrank since its size was taken ends the read early.
        ok = ReadFile(file, bytes.data() + at, ask, &done, nullptr) && done != 0;
        at += done;
    }
    CloseHandle(file);
    if (ok) out.swap(bytes);
    return ok;
}
