# Importing and exporting large question sets with trivora-qst's library, and looking for
# give-aways among many questions.
trivora_benchmark(bench_qst trivora_qsttool)
trivora_benchmark(bench_pairs trivora_qsttool)
# Time and peak memory of imports of hostile sources, each in a child process.
trivora_benchmark(bench_qst_hostile trivora_qsttool)
