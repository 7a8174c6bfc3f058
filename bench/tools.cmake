# Importing and exporting large question sets with trivora-qst's library.
trivora_benchmark(bench_qst trivora_qsttool)
