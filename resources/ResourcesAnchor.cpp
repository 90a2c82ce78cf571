// A static library needs one source of its own; the pictures themselves come
// from the resource object library that qt_add_resources attaches.
namespace waveorbit_resources_detail {
int anchor = 0;
}
