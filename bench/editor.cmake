# The question editor's text search over a large set.
trivora_benchmark(bench_search trivora_editor)
