# Phones as buzzers: four players and a hundred audience phones on loopback sockets.
if(TARGET trivora_testsupport)
    trivora_benchmark(bench_phones trivora_phones trivora_testsupport)
endif()
