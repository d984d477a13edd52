// Wiring of the logic to its Qt, POSIX and TagLib realisations: filled in as they land.
int main() { return 0; }
