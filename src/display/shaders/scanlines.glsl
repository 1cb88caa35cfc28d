// "Scanlines": every texel is a soft spot of light. An output pixel adds up the nearest
// texel and its horizontal, vertical and diagonal neighbours, each weighted by
// w = (1 - min(distance / spot size, 1)^2)^2 per axis, in linear light; the sum is
// boosted and gamma-corrected. Between two of the Ace's lines the spots barely reach,
// which leaves the dark gaps of a television's scanlines.
#pragma parameter SPOT_WIDTH "Spot width" 0.9 0.1 1.5 0.05
#pragma parameter SPOT_HEIGHT "Spot height" 0.65 0.1 1.5 0.05
#pragma parameter COLOR_BOOST "Color boost" 1.45 1.0 2.0 0.05
#pragma parameter InputGamma "Input gamma" 2.4 0.0 5.0 0.1
#pragma parameter OutputGamma "Output gamma" 2.2 0.0 5.0 0.1

#ifdef PARAMETER_UNIFORM
uniform float SPOT_WIDTH;
uniform float SPOT_HEIGHT;
uniform float COLOR_BOOST;
uniform float InputGamma;
uniform float OutputGamma;
#else
#define SPOT_WIDTH 0.9
#define SPOT_HEIGHT 0.65
#define COLOR_BOOST 1.45
#define InputGamma 2.4
#define OutputGamma 2.2
#endif

#if defined(VERTEX)
out vec2 vTexCoord;

void main_vertex() {
    gl_Position = modelViewProj * position;
    vTexCoord = tex_coord;
}

#elif defined(FRAGMENT)
in vec2 vTexCoord;

float SpotWeight(float distance, float size) {
    float t = min(abs(distance) / size, 1.0);
    float u = 1.0 - t * t;
    return u * u;
}

vec3 LinearTexel(vec2 centre) {
    return pow(texture(Texture, centre / texture_size).rgb, vec3(InputGamma));
}

void main_fragment() {
    vec2 position = vTexCoord * texture_size; // in texels
    vec2 nearest = floor(position) + 0.5;
    vec2 offset = position - nearest;
    vec2 toward = vec2(offset.x < 0.0 ? -1.0 : 1.0, offset.y < 0.0 ? -1.0 : 1.0);

    vec3 sum = vec3(0.0);
    for (int j = 0; j < 2; ++j) {
        for (int i = 0; i < 2; ++i) {
            vec2 centre = nearest + vec2(float(i), float(j)) * toward;
            vec2 distance = position - centre;
            float w = SpotWeight(distance.x, SPOT_WIDTH) * SpotWeight(distance.y, SPOT_HEIGHT);
            sum += w * LinearTexel(centre);
        }
    }
    sum = clamp(sum * COLOR_BOOST, 0.0, 1.0);
    FragColor = vec4(pow(sum, vec3(1.0 / OutputGamma)), 1.0);
}
#endif
