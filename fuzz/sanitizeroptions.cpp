// The sanitizer options every fuzz target starts with; ASAN_OPTIONS still
// overrides them.
//
// Allocation stacks are kept two frames deep (the allocator and its caller).
// Qt's libraries are built without frame pointers, so a deeper stack through
// them is garbage, each garbage stack a new entry in the sanitizer's stack
// store: the store then grows by hundreds of megabytes and every allocation
// pays for a search in it, which made the targets that build many strings run
// a few hundred inputs a second. A report still shows the whole stack of the
// bad access; for whole allocation stacks, run a found input again with
// ASAN_OPTIONS=malloc_context_size=30.
extern "C" const char* __asan_default_options() { return "malloc_context_size=2"; }
