#include "chart/host_path.h"

#include "data/platform.h"
#include "winlib/win32.h"
#include "winlib/wstr.h"

std::u16string HostPath(const std::string& typed) {
    const std::u16string path = PL::FromUtf8(typed);
    if (typed.empty() || typed[0] != '/') return path;
    // Wine's own export; on Windows it does not exist and the path stays.
    using DosName = WCHAR*(CDECL*)(const char*);  // a Windows function: its calling convention
    static const DosName toDos = reinterpret_cast<DosName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (!toDos) return path;
    WCHAR* dos = toDos(typed.c_str());
    if (!dos) return path;
    std::u16string result = U16(dos);
    HeapFree(GetProcessHeap(), 0, dos);
    return result;
}
