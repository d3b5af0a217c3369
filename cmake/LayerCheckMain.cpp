// The program of the layer checks (cmake/CoreLayers.cmake): it runs nothing; linking one core
// folder's objects with it, against the folders below alone, is the check.
int main() { return 0; }
