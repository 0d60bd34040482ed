// The application's globals as start-up leaves them, before the window is made.
#pragma once

namespace kvfuzz {

// Puts the scene objects back to their start-up values, so that every fuzzed run starts from the
// same state and a crash reproduces from its input alone. (The GDI handle table, with the palette's
// pens and brushes, is process-wide as on Windows and stays.)
void reset_scene();

} // namespace kvfuzz
