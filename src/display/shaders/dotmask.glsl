// "Dotmask": the picture through a shadow mask. Output columns are tinted alternately
// by (1, m, 1) and (m, 1, m), m = 1 - DOTMASK_STRENGTH: magenta and green stripes that
// the eye mixes back to the colour at a distance. The column is the texel's, which at the
// pass's own size is the output column, so the pass drawn larger is itself scaled up.
#pragma parameter DOTMASK_STRENGTH "Dot mask strength" 0.3 0.0 1.0 0.01

#ifdef PARAMETER_UNIFORM
uniform float DOTMASK_STRENGTH;
#else
#define DOTMASK_STRENGTH 0.3
#endif

#if defined(VERTEX)
out vec2 vTexCoord;

void main_vertex() {
    gl_Position = modelViewProj * position;
    vTexCoord = tex_coord;
}

#elif defined(FRAGMENT)
in vec2 vTexCoord;

void main_fragment() {
    vec3 colour = texture(Texture, vTexCoord).rgb;
    float m = 1.0 - DOTMASK_STRENGTH;
    bool odd = mod(floor(vTexCoord.x * texture_size.x), 2.0) > 0.5;
    vec3 tint = odd ? vec3(m, 1.0, m) : vec3(1.0, m, 1.0);
    FragColor = vec4(colour * tint, 1.0);
}
#endif
