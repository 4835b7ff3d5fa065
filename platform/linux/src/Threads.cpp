// Apart from the string tables, so that a library which calls only this
// carries no loader code of ours and binds no loader symbols when it loads.
#include <windows.h>

extern "C" BOOL DisableThreadLibraryCalls(HMODULE module) { return module != nullptr ? TRUE : FALSE; }
