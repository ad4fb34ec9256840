// How the test libraries export their one function.
#pragma once

#if defined(_WIN32)
#define TEST_LIBRARY_EXPORT __declspec(dllexport)
#else
#define TEST_LIBRARY_EXPORT __attribute__((visibility("default")))
#endif
