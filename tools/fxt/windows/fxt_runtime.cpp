// fxt.exe carries the C++ library it uses, and is built without exceptions:
// memory running out, and the library's own checks that would throw, end
// the program with a message instead. Defined here, they keep the library's
// exception machinery (a third of the exe) out of the link.
#include <new>
#include <stdio.h>
#include <stdlib.h>

namespace {

[[noreturn]] void Stop(const char *what) {
    fputs("fxt: ", stderr);
    fputs(what, stderr);
    fputs("\n", stderr);
    exit(1);
}

} // namespace

void *operator new(size_t size) {
    void *block = malloc(size ? size : 1);
    if (!block) Stop("out of memory");
    return block;
}

void *operator new[](size_t size) {
    return operator new(size);
}

void operator delete(void *block) noexcept {
    free(block);
}

void operator delete(void *block, size_t) noexcept {
    free(block);
}

void operator delete[](void *block) noexcept {
    free(block);
}

void operator delete[](void *block, size_t) noexcept {
    free(block);
}

namespace std {

void __throw_bad_alloc() {
    Stop("out of memory");
}

void __throw_bad_array_new_length() {
    Stop("out of memory");
}

void __throw_length_error(const char *what) {
    Stop(what);
}

void __throw_logic_error(const char *what) {
    Stop(what);
}

void __throw_out_of_range(const char *what) {
    Stop(what);
}

void __throw_out_of_range_fmt(const char *what, ...) {
    Stop(what);
}

void __throw_invalid_argument(const char *what) {
    Stop(what);
}

void __glibcxx_assert_fail(const char *, int, const char *, const char *condition) noexcept {
    Stop(condition);
}

} // namespace std
