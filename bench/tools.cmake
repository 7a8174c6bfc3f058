# Importing and exporting large question sets with trivora-qst's library.
trivora_benchmark(bench_qst trivora_qsttool)
# Time and peak memory of imports of hostile sources, each in a child process.
trivora_benchmark(bench_qst_hostile trivora_qsttool)
