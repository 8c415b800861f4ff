// The framework's trace sink. There is no log file: trace calls compile and cost
// almost nothing, and a debugging session can put a breakpoint in Trace.
#pragma once

void Trace(const char* funcName, int line, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;
