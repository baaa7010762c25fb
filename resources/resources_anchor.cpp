// The resource library needs one translation unit of its own; the compiled
// resources are attached to it by the build.
namespace kv::resources {
int anchor() { return 0; }
}  // namespace kv::resources
