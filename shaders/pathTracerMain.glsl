
// Entry: one jittered thin-lens camera ray per pixel, its path's colour
// added to the pixel's earlier sum.
void main(){
    uv=gl_FragCoord.xy/u.xy;
    fs=u.z;
    // The same two numbers jitter the sample in the pixel and pick the lens point.
    vec2 ns=r2(vec3(uv,fs));
    vec2 uv2=(2*(gl_FragCoord.xy+ns)-u.xy)/u.y;
    vec3 ro=vec3(-4.35,-.65,4.2);
    vec3 ww=normalize(vec3(-8.5,-4.1,10.5)-ro);
    vec3 uu=normalize(cross(vec3(0,1,0),ww));
    vec3 vv=normalize(cross(ww,uu));
    vec3 er=normalize(vec3(uv2,12));
    vec3 rd=er.x*uu+er.y*vv+er.z*ww;
    vec3 go=.005*vec3(2*ns.x-1,2*ns.y-1,0);    // lens point, camera space
    vec3 gd=normalize(er*.63-go);              // towards the focal point
    ro=ro+go.x*uu+go.y*vv;
    // Only the sideways part of gd is added to the screen direction.
    rd=rd+gd.x*uu+gd.y*vv;
    c=pt(ro,normalize(rd))+texture(fr,uv).xyz;
}
