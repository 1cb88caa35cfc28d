// "No Shader": each output pixel is the input texel as read. Also the plain pass that
// scales a picture up to the viewport.
#if defined(VERTEX)
out vec2 vTexCoord;

void main_vertex() {
    gl_Position = modelViewProj * position;
    vTexCoord = tex_coord;
}

#elif defined(FRAGMENT)
in vec2 vTexCoord;

void main_fragment() {
    FragColor = vec4(texture(Texture, vTexCoord).rgb, 1.0);
}
#endif
