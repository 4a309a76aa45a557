#pragma once

// libmdb's header includes GLib inside extern "C"; GLib included first, as C++, keeps its C++
// parts out of that block.
#include <glib.h>

#include <mdbtools.h>
