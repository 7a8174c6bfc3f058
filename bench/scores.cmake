# The hall of fame: recording a game's results and a question's answer as the game goes, and
# reading the ten best for the attract page from a store of 10,000 games.
trivora_benchmark(bench_scores trivora_scores)
