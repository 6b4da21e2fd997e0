// An empty package for the load benchmark: the package's three entry points, doing nothing.
extern "C" {
__declspec(dllexport) void Initialize() {}
__declspec(dllexport) void Register() {}
__declspec(dllexport) void Finalize() {}
}
