# The game screen: the question draw on a very large set, and the reveal's cadence on the
# program's real clock. Both borrow the test tree's stand-ins for dialogs, shell and MIDI.
if(TARGET trivora_testsupport)
    trivora_benchmark(bench_draw trivora_game trivora_testsupport Qt6::Widgets)
    trivora_benchmark(bench_reveal trivora_game trivora_testsupport Qt6::Widgets)
endif()
