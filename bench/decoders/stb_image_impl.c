/* stb_image's implementation, for the decoder benchmark's comparison. */
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#include <stb_image.h>
