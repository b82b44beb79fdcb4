#pragma once

// The benchmark cases; each prints its rows and notes.

namespace bench {

void runCreationBench();
void runCaptureBench();
void runLoadBench();
void runUndoBench();
void runMemoryBench();
// One run of Brindle's side alone, for profiling (valgrind --tool=callgrind).
void runCreationOnce(const char *shapeLabel); // a shape such as 10x10x100, or "chain"
void runCaptureOnce(const char *shapeLabel);
void runLoadOnce(const char *shapeLabel);
void runUndoOnce();

// In a fresh process: builds a tree of the shape and prints the peak resident
// bytes before and after, the nodes and the name bytes.
void runMemoryChild(const char *shapeLabel);
// In a fresh process: one load of the file with `nodes` nodes, printed for the
// load case; side "brindle" (the window's load, then a second one), "parse"
// (the bare parse) or "detail" (the load with its steps timed).
void runLoadChild(const char *file, const char *nodes, const char *side);
// In a fresh process: loads the tree file as the window does and prints the
// resident bytes around it.
void runLoadMemoryChild(const char *file);

} // namespace bench
