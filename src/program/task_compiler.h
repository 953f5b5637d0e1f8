#pragma once
// One scheduler or logger task into the program image, after all rungs.
struct CompileJob;

// Encodes task t (1..task count) as a kind-3 entry with its data block and enable condition, and builds
// a CSV logger's header line. False when the task does not fit the image's format: the compile ends.
bool CompilaTask(CompileJob& job, int t);
