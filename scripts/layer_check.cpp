// An empty program: linked with every object of one layer and only the layers below it, it
// fails to link when that layer calls into a layer above it.
int main() {
    return 0;
}
