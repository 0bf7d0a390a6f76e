/* The control of the planted-DLL check: loads a DLL by bare name with the default search order,
   which looks in the program's own folder first, so a planted copy must leave its mark. */
#include <windows.h>

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    HMODULE module = LoadLibraryW(argv[1]);
    if (module)
        FreeLibrary(module);
    return 0;
}
