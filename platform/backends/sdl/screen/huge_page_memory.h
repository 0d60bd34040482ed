// Memory the kernel may back with huge pages, for the window's pixels and the copy of what it
// shows. Both are read and written a few hundred scattered rows a frame, mostly after the caches
// have lost them; with 4 KB pages nearly every row costs a page walk of its own, dearer still in a
// virtual machine.
#pragma once

#include "core/pixel_buffer.h"

namespace kv::sdl {

// Blocks of a megabyte or more start on a huge page and are offered to the kernel for huge pages
// (on Linux; elsewhere they are ordinary memory); smaller ones come from the free store. Holds no
// state: one for the whole program.
PixelMemory* huge_page_memory();

} // namespace kv::sdl
