// "Curved CRT": the picture on the curved glass of a television tube. The screen is a
// sphere of radius R seen from distance d (optionally tilted), with rounded corners and
// overscan; each of the Ace's lines is a Gaussian beam whose width grows with brightness,
// sampled three times per output pixel; an optional dot mask; gamma in and out.
#pragma parameter CRTgamma "CRT gamma" 2.4 0.1 5.0 0.1
#pragma parameter monitorgamma "Monitor gamma" 2.2 0.1 5.0 0.1
#pragma parameter d "Distance" 1.5 0.1 3.0 0.1
#pragma parameter CURVATURE "Curvature toggle" 1.0 0.0 1.0 1.0
#pragma parameter R "Curvature radius" 2.0 0.1 10.0 0.1
#pragma parameter cornersize "Corner size" 0.03 0.001 1.0 0.005
#pragma parameter cornersmooth "Corner smoothness" 1000.0 80.0 2000.0 100.0
#pragma parameter x_tilt "Horizontal tilt" 0.0 -0.5 0.5 0.05
#pragma parameter y_tilt "Vertical tilt" 0.0 -0.5 0.5 0.05
#pragma parameter overscan_x "Horizontal overscan %" 100.0 -125.0 125.0 1.0
#pragma parameter overscan_y "Vertical overscan %" 100.0 -125.0 125.0 1.0
#pragma parameter DOTMASK "Dot mask toggle" 0.3 0.0 0.3 0.3
#pragma parameter SHARPER "Sharpness" 1.0 1.0 3.0 1.0
#pragma parameter scanline_weight "Scanline weight" 0.3 0.1 0.5 0.05

#ifdef PARAMETER_UNIFORM
uniform float CRTgamma;
uniform float monitorgamma;
uniform float d;
uniform float CURVATURE;
uniform float R;
uniform float cornersize;
uniform float cornersmooth;
uniform float x_tilt;
uniform float y_tilt;
uniform float overscan_x;
uniform float overscan_y;
uniform float DOTMASK;
uniform float SHARPER;
uniform float scanline_weight;
#else
#define CRTgamma 2.4
#define monitorgamma 2.2
#define d 1.5
#define CURVATURE 1.0
#define R 2.0
#define cornersize 0.03
#define cornersmooth 1000.0
#define x_tilt 0.0
#define y_tilt 0.0
#define overscan_x 100.0
#define overscan_y 100.0
#define DOTMASK 0.3
#define SHARPER 1.0
#define scanline_weight 0.3
#endif

// Both stages use it. A point of the flat picture (centred, in picture heights) to where the ray through it
// meets the curved screen, measured along the glass.
vec2 AlongTheGlass(vec2 plane) {
    vec3 ray = vec3(plane, d);
    float cx = cos(x_tilt), sx = sin(x_tilt), cy = cos(y_tilt), sy = sin(y_tilt);
    ray = vec3(cx * ray.x + sx * ray.z, ray.y, -sx * ray.x + cx * ray.z);
    ray = vec3(ray.x, cy * ray.y + sy * ray.z, -sy * ray.y + cy * ray.z);
    vec3 fromCentre = vec3(0.0, 0.0, -d - R); // the eye, seen from the sphere's centre
    float a = dot(ray, ray);
    float b = 2.0 * dot(ray, fromCentre);
    float c = dot(fromCentre, fromCentre) - R * R;
    float t = (-b - sqrt(max(b * b - 4.0 * a * c, 0.0))) / (2.0 * a);
    vec3 q = fromCentre + t * ray;
    return R * vec2(atan(q.x, -q.z), atan(q.y, -q.z));
}

#if defined(VERTEX)
out vec2 vTexCoord;
flat out vec2 vEdgeScale;

void main_vertex() {
    gl_Position = modelViewProj * position;
    vTexCoord = tex_coord;
    // The same for every pixel: scaled so that the middles of the edges stay put.
    vec2 edge = 0.5 * vec2(video_size.x / video_size.y, 1.0);
    vEdgeScale = edge / vec2(AlongTheGlass(vec2(edge.x, 0.0)).x, AlongTheGlass(vec2(0.0, edge.y)).y);
}

#elif defined(FRAGMENT)
in vec2 vTexCoord;
flat in vec2 vEdgeScale;

float Corner(vec2 coord, vec2 aspect) {
    coord = min(coord, vec2(1.0) - coord) * aspect;
    vec2 size = vec2(cornersize);
    coord = size - min(coord, size);
    float distance = sqrt(dot(coord, coord));
    return clamp((size.x - distance) * cornersmooth, 0.0, 1.0);
}

vec3 LinearTexel(vec2 texel) {
    return pow(texture(Texture, texel / texture_size).rgb, vec3(CRTgamma));
}

// The beam's brightness at `distance` lines from its centre; brighter beams are wider.
vec3 BeamWeights(float distance, vec3 colour) {
    vec3 width = 2.0 + 2.0 * pow(colour, vec3(4.0));
    vec3 x = vec3(abs(distance) / scanline_weight);
    return 1.4 * exp(-pow(x * inversesqrt(0.5 * width), width)) / (0.6 + 0.2 * width);
}

void main_fragment() {
    vec2 aspect = vec2(video_size.x / video_size.y, 1.0);
    vec2 uv = vTexCoord * texture_size / video_size; // 0 to 1 over the picture
    vec2 plane = (uv - 0.5) * aspect;
    vec2 coord = plane;
    if (CURVATURE > 0.5) coord = AlongTheGlass(plane) * vEdgeScale;
    coord = coord * 100.0 / vec2(overscan_x, overscan_y);
    vec2 picture = coord / aspect + 0.5;
    if (any(lessThan(picture, vec2(0.0))) || any(greaterThan(picture, vec2(1.0)))) {
        FragColor = vec4(0.0, 0.0, 0.0, 1.0);
        return;
    }

    vec2 texel = picture * video_size - 0.5;
    vec2 ratio = fract(texel);
    vec2 base = floor(texel) + 0.5;
    float fx = clamp((ratio.x - 0.5) * SHARPER + 0.5, 0.0, 1.0);
    vec3 line0 = mix(LinearTexel(base), LinearTexel(base + vec2(1.0, 0.0)), fx);
    vec3 line1 = mix(LinearTexel(base + vec2(0.0, 1.0)), LinearTexel(base + vec2(1.0, 1.0)), fx);

    // Three samples a third of an output pixel apart smooth the beam's edge.
    float third = video_size.y / output_size.y / 3.0;
    vec3 weights0 = (BeamWeights(ratio.y, line0) + BeamWeights(ratio.y - third, line0) +
                     BeamWeights(ratio.y + third, line0)) / 3.0;
    vec3 weights1 = (BeamWeights(1.0 - ratio.y, line1) + BeamWeights(1.0 - ratio.y + third, line1) +
                     BeamWeights(1.0 - ratio.y - third, line1)) / 3.0;
    vec3 colour = line0 * weights0 + line1 * weights1;

    vec3 mask = mix(vec3(1.0, 1.0 - DOTMASK, 1.0), vec3(1.0 - DOTMASK, 1.0, 1.0 - DOTMASK),
                    floor(mod(gl_FragCoord.x, 2.0)));
    colour *= mask * Corner(picture, aspect);
    FragColor = vec4(pow(clamp(colour, 0.0, 1.0), vec3(1.0 / monitorgamma)), 1.0);
}
#endif
