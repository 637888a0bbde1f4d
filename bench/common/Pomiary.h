#pragma once

// Runs the benchmarks registered in this program with Google Benchmark's own arguments; call it
// once the Qt application object exists.
int UruchomPomiary(int argc, char **argv);
