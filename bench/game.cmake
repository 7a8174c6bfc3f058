# The question draw on a very large set, on the game alone; and the game screen's reveal
# cadence on the program's real clock, with the test tree's stand-ins for dialogs, shell and MIDI.
if(TARGET trivora_testsupport)
    trivora_benchmark(bench_draw trivora_game trivora_testsupport)
    trivora_benchmark(bench_reveal trivora_screen trivora_testsupport Qt6::Widgets)
endif()
