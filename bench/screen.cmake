# Creating the game screen: its controls, pictures, timers, first layout and creation handler.
if(TARGET trivora_testsupport)
    trivora_benchmark(bench_screen trivora_screen trivora_testsupport Qt6::Widgets)
endif()
