// Faults on purpose, one per argument, for the sanitized tree's own check:
// each run must end in failure there. A build whose sanitizers are not
// really on lets these runs end normally, and their tests then fail.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char **argv)
{
    if (argc < 2)
        return 2;
    // Values the compiler cannot see through.
    volatile int indice = argc + 8;
    volatile int grande = INT_MAX - 1 + argc - 1;
    if (std::strcmp(argv[1], "heap") == 0) {
        char *blocco = static_cast<char *>(std::malloc(10));
        blocco[indice] = 1; // one byte past the end
        std::printf("%d\n", blocco[indice]);
        std::free(blocco);
    } else if (std::strcmp(argv[1], "overflow") == 0) {
        int somma = grande + 1;
        somma += 1; // past INT_MAX: undefined
        std::printf("%d\n", somma);
    } else if (std::strcmp(argv[1], "leak") == 0) {
        void *perso = std::malloc(64);
        std::printf("%p\n", perso);
        perso = nullptr;
    }
    return 0;
}
