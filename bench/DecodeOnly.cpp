// The least a program can do with an icon file: read it and decode it with libspng. The
// start-up benchmark runs it beside the colours command.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <spng.h>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    std::ifstream in(argv[1], std::ios::binary);
    std::vector<unsigned char> png { std::istreambuf_iterator<char>(in), {} };
    spng_ctx* ctx = spng_ctx_new(0);
    spng_set_png_buffer(ctx, png.data(), png.size());
    size_t size = 0;
    spng_decoded_image_size(ctx, SPNG_FMT_RGBA8, &size);
    std::vector<unsigned char> pixels(size);
    int error = spng_decode_image(ctx, pixels.data(), size, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS);
    spng_ctx_free(ctx);
    std::printf("%zu\n", error ? size_t(0) : size);
    return error ? 1 : 0;
}
