#pragma once
// The registry operations the cleanup is written against. On Windows they are
// advapi32's own; on the host they come from the in-memory stand-in, which offers
// the same names, roots and result codes.
#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include "registry/host_registry.h"
#endif
