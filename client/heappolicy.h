#pragma once
// How the process asks the C library for memory; called once at start-up,
// before the application object exists.
//
// The transcripts' documents grow their text and their tables by doubling.
// Served from mmap, the untouched half of a doubled block costs nothing and
// a freed block goes back at once. glibc would serve them from the heap
// after the first such block is freed, where they leave holes that a long
// run keeps.

void useMappedLargeBlocks();
