// Writes the demo company database (placeholder until the generator lands).
int main() { return 0; }
