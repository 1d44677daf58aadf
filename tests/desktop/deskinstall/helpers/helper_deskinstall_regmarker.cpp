/*
 * A self-registering library for deskinstall's whole-run tests, delivered as
 * QuilletSync.DLL. Registering it writes the path it was loaded from to
 * HKEY_CURRENT_USER\Software\Kestrum Tests\deskinstall, value "RegisteredFrom",
 * so a test can tell that regsvr32 registered the copy in the system directory.
 */
#include <windows.h>

static HINSTANCE g_module;

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        g_module = module;
    return TRUE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllRegisterServer(void)
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(g_module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return E_FAIL;
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Kestrum Tests\\deskinstall", 0, NULL, 0, KEY_SET_VALUE,
                        NULL, &key, NULL) != ERROR_SUCCESS)
        return E_FAIL;
    LONG status = RegSetValueExA(key, "RegisteredFrom", 0, REG_SZ, (const BYTE *)path, length + 1);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? S_OK : E_FAIL;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllUnregisterServer(void)
{
    return S_OK;
}
