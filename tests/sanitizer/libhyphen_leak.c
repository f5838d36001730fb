/* libhyphen leaks pieces of every dictionary it loads, even after hnj_hyphen_free. Shown by:
   cc -fsanitize=address libhyphen_leak.c -lhyphen && ./a.out   (LeakSanitizer: hnj_malloc) */
#include <hyphen.h>
int main(void) {
    HyphenDict* d = hnj_hyphen_load("/usr/share/hyphen/hyph_de_DE.dic");
    if (!d) return 1;
    hnj_hyphen_free(d);
    return 0;
}
