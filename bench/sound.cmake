trivora_benchmark(bench_sound trivora_sound Qt6::Core)
