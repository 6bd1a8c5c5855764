// What a procedure needs of its caller, checked where it is cheap to check.
// QUILANE_PRECONDITION(condition) aborts with the file, the line and the
// condition when it does not hold, in debug builds (no NDEBUG) and in the
// sanitizer and fuzzing builds (QUILANE_CHECK_PRECONDITIONS); elsewhere it
// costs nothing and the condition is not evaluated. A precondition states a
// fault of the calling code, never of the person's input: input is refused
// with a Refusal before it reaches a procedure that needs it.
#ifndef QUILANE_BASE_PRECONDITION_H_
#define QUILANE_BASE_PRECONDITION_H_

namespace quilane {

// Writes "FILE:LINE: precondition failed: CONDITION" to standard error and
// aborts.
[[noreturn]] void PreconditionFailed(const char* condition, const char* file, int line);

}  // namespace quilane

#if defined(QUILANE_CHECK_PRECONDITIONS) || !defined(NDEBUG)
#define QUILANE_PRECONDITIONS_CHECKED 1
#define QUILANE_PRECONDITION(condition) \
  ((condition) ? static_cast<void>(0)   \
               : ::quilane::PreconditionFailed(#condition, __FILE__, __LINE__))
#else
#define QUILANE_PRECONDITIONS_CHECKED 0
#define QUILANE_PRECONDITION(condition) static_cast<void>(0)
#endif

#endif  // QUILANE_BASE_PRECONDITION_H_
