// The entry point of a program built only to link every object of the portable core at once: a
// function defined in two of its objects then fails the build. It is never run.
int main() { return 0; }
