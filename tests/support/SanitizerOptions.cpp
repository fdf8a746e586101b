// Default options of the sanitizer runtimes for every test executable. The runtimes call these
// hooks at start-up (they are unused without a sanitizer); the environment's ASAN_OPTIONS,
// LSAN_OPTIONS and UBSAN_OPTIONS still override them, as the fuzz and PostgreSQL scripts do.
extern "C" {
const char* __lsan_default_options();
const char* __ubsan_default_options();

// Every leak is reported except those tests/lsan.supp names as not ours.
const char* __lsan_default_options()
{
    return "suppressions=\"" TQWALL_LSAN_SUPPRESSIONS "\":print_suppressions=0";
}

// An undefined behaviour stops the test with the stack that led to it.
const char* __ubsan_default_options()
{
    return "print_stacktrace=1:halt_on_error=1";
}
}
