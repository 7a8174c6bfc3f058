# Reading game controllers: what each poll of SDL costs, idle and with a controller connected.
if(TARGET trivora_testsupport)
    trivora_benchmark(bench_controllers trivora_controllers trivora_testsupport SDL2::SDL2)
endif()
