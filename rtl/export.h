// Export marker for every routine, class and global that the package exports.
// Building the package DLL: dllexport; a client of the DLL: dllimport; native builds: nothing.
#pragma once

#if defined(_WIN32) && !defined(WTARN_STATIC)
#  if defined(WTARN_BUILDING_PACKAGE)
#    define KV_API __declspec(dllexport)
#  else
#    define KV_API __declspec(dllimport)
#  endif
#else
#  define KV_API
#endif
