// cleartrace-host: the command-line driver over the substitute host.
int main() { return 0; }
