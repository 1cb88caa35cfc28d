// "Aperture": an aperture-grille tube. A Gaussian glow and a Lanczos-sharpened picture
// are mixed; each of the Ace's lines is a scanline whose width follows its brightness;
// a mask of coloured stripes covers the picture; the glow adds halation and diffusion;
// then brightness and output gamma.
#pragma parameter SHARPNESS_IMAGE "Sharpness image" 1.0 1.0 5.0 1.0
#pragma parameter SHARPNESS_EDGES "Sharpness edges" 3.0 1.0 5.0 1.0
#pragma parameter GLOW_WIDTH "Glow width" 0.5 0.05 0.65 0.05
#pragma parameter GLOW_HEIGHT "Glow height" 0.5 0.05 0.65 0.05
#pragma parameter GLOW_HALATION "Glow halation" 0.1 0.0 1.0 0.01
#pragma parameter GLOW_DIFFUSION "Glow diffusion" 0.05 0.0 1.0 0.01
#pragma parameter MASK_COLORS "Mask colors" 2.0 2.0 3.0 1.0
#pragma parameter MASK_STRENGTH "Mask strength" 0.3 0.0 1.0 0.05
#pragma parameter MASK_SIZE "Mask size" 1.0 1.0 9.0 1.0
#pragma parameter SCANLINE_SIZE_MIN "Scanline size min" 0.5 0.5 1.5 0.05
#pragma parameter SCANLINE_SIZE_MAX "Scanline size max" 1.5 0.5 1.5 0.05
#pragma parameter GAMMA_INPUT "Gamma input" 2.4 1.0 5.0 0.1
#pragma parameter GAMMA_OUTPUT "Gamma output" 2.4 1.0 5.0 0.1
#pragma parameter BRIGHTNESS "Brightness" 1.5 0.0 2.0 0.05

#ifdef PARAMETER_UNIFORM
uniform float SHARPNESS_IMAGE;
uniform float SHARPNESS_EDGES;
uniform float GLOW_WIDTH;
uniform float GLOW_HEIGHT;
uniform float GLOW_HALATION;
uniform float GLOW_DIFFUSION;
uniform float MASK_COLORS;
uniform float MASK_STRENGTH;
uniform float MASK_SIZE;
uniform float SCANLINE_SIZE_MIN;
uniform float SCANLINE_SIZE_MAX;
uniform float GAMMA_INPUT;
uniform float GAMMA_OUTPUT;
uniform float BRIGHTNESS;
#else
#define SHARPNESS_IMAGE 1.0
#define SHARPNESS_EDGES 3.0
#define GLOW_WIDTH 0.5
#define GLOW_HEIGHT 0.5
#define GLOW_HALATION 0.1
#define GLOW_DIFFUSION 0.05
#define MASK_COLORS 2.0
#define MASK_STRENGTH 0.3
#define MASK_SIZE 1.0
#define SCANLINE_SIZE_MIN 0.5
#define SCANLINE_SIZE_MAX 1.5
#define GAMMA_INPUT 2.4
#define GAMMA_OUTPUT 2.4
#define BRIGHTNESS 1.5
#endif

#if defined(VERTEX)
out vec2 vTexCoord;

void main_vertex() {
    gl_Position = modelViewProj * position;
    vTexCoord = tex_coord;
}

#elif defined(FRAGMENT)
in vec2 vTexCoord;

const float kPi = 3.14159265;

vec3 Texel(vec2 texel) {
    return texture(Texture, texel / texture_size).rgb;
}

// Three texels around the nearest one, blurred by a Gaussian of `radius` texels.
vec3 Gaussian3(vec3 a, vec3 b, vec3 c, float offset, float radius) {
    vec3 x = vec3(offset - 1.0, offset, offset + 1.0) / radius;
    vec3 w = exp2(-x * x);
    return (a * w.x + b * w.y + c * w.z) / (w.x + w.y + w.z);
}

vec3 Glow(vec2 position) {
    vec2 nearest = floor(position) + 0.5;
    vec2 offset = nearest - position;
    vec3 rows[3];
    for (int j = 0; j < 3; ++j) {
        vec2 centre = nearest + vec2(0.0, float(j - 1));
        rows[j] = Gaussian3(Texel(centre - vec2(1.0, 0.0)), Texel(centre), Texel(centre + vec2(1.0, 0.0)),
                            offset.x, GLOW_WIDTH);
    }
    return Gaussian3(rows[0], rows[1], rows[2], offset.y, GLOW_HEIGHT);
}

// Horizontal Lanczos (two lobes) over the nearest line; a sharpness above 1 squeezes the
// kernel so edges stay harder.
vec3 Lanczos(vec2 position, float sharpness) {
    float x = position.x * sharpness - 0.5;
    float left = floor(x);
    float f = x - left;
    vec4 t = kPi * vec4(f + 1.0, f, f - 1.0, f - 2.0);
    t = max(abs(t), vec4(1e-5));
    vec4 w = 2.0 * sin(t) * sin(t / 2.0) / (t * t);
    w /= dot(w, vec4(1.0));
    float y = floor(position.y) + 0.5;
    vec3 c0 = Texel(vec2((left - 0.5) / sharpness, y));
    vec3 c1 = Texel(vec2((left + 0.5) / sharpness, y));
    vec3 c2 = Texel(vec2((left + 1.5) / sharpness, y));
    vec3 c3 = Texel(vec2((left + 2.5) / sharpness, y));
    return max(c0 * w.x + c1 * w.y + c2 * w.z + c3 * w.w, vec3(0.0));
}

// The scanline's profile at `offset` (0 to 1 down the line): brighter lines are wider.
vec3 ScanlineWeight(float offset, vec3 colour) {
    vec3 size = mix(vec3(SCANLINE_SIZE_MIN), vec3(SCANLINE_SIZE_MAX), sqrt(colour));
    vec3 mul = 2.0 / size;
    return smoothstep(0.0, 1.0, 1.0 - abs(offset * mul - mul * 0.5));
}

// The grille: magenta and green stripes (two colours) or red, green and blue (three),
// MASK_SIZE output pixels wide each.
vec3 MaskWeight(float column) {
    float i = mod(floor(column / MASK_SIZE), MASK_COLORS);
    if (i < 0.5) return mix(vec3(1.0, 0.0, 1.0), vec3(1.0, 0.0, 0.0), MASK_COLORS - 2.0);
    if (i < 1.5) return vec3(0.0, 1.0, 0.0);
    return vec3(0.0, 0.0, 1.0);
}

void main_fragment() {
    vec2 position = vTexCoord * texture_size; // in texels
    vec3 glow = Glow(position);
    vec3 soft = Lanczos(position, SHARPNESS_IMAGE);
    vec3 sharp = Lanczos(position, SHARPNESS_EDGES);
    vec3 colour = sqrt(sharp * soft);
    colour *= ScanlineWeight(fract(position.y), soft);

    glow = pow(glow, vec3(GAMMA_INPUT));
    colour = pow(colour, vec3(GAMMA_INPUT));
    vec3 mask = MaskWeight(floor(gl_FragCoord.x));
    colour *= mix(vec3(1.0), mask * MASK_COLORS * 0.5, MASK_STRENGTH);
    colour += glow * GLOW_HALATION;
    colour = mix(colour, glow, GLOW_DIFFUSION);
    colour *= BRIGHTNESS;
    FragColor = vec4(pow(clamp(colour, 0.0, 1.0), vec3(1.0 / GAMMA_OUTPUT)), 1.0);
}
#endif
