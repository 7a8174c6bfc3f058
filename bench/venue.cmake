# A venue's hall of fame on a PostgreSQL server that the benchmark starts itself (the test
# support's server): twenty cabinets writing at once, the best ten of 100,000 games, and the
# longest hold of the game's thread by scores work while the server is slow or gone.
if(TARGET trivora_testsupport)
    trivora_benchmark(bench_venue trivora_scores trivora_testsupport Qt6::Core)
endif()
