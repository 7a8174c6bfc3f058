# The hall of fame: recording a game's results and a question's answer as the game goes,
# reading the ten best from a store of 10,000 games and building the attract page of them.
trivora_benchmark(bench_scores trivora_scores trivora_screen Qt6::Widgets)
