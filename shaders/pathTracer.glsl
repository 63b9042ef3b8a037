#version 460
// Progressive path tracer of the still life: one path per pixel and frame,
// added to the running sum. pathTracerMain.glsl holds the entry point.

uniform vec3 u;              // (target width, target height, sample count)
uniform sampler2D fr,lb,st;  // earlier sum, label texture, lettering field
out vec3 c;                  // new sum: this sample plus the earlier sum
vec2 uv;                     // pixel centre / target size
float fs;                    // sample count, the seed of every random number

// Materials by id: diffuse probability, gloss spread, emissive flag, colour
// (reflectance, or radiance of an emitter).
struct{float d,g,e;vec3 c;}sf[13]={
    {1,0,1,vec3(1,1,1)},           // 0 light shell outside the room
    {1,0,0,vec3(.7,.5,.5)},        // 1 room shell
    {.8,.1,0,vec3(.17,.22,.5)},    // 2 table top
    {1,0,0,vec3(1,0,0)},           // 3 lid label disc
    {.8,.08,0,vec3(.5,.26,.16)},   // 4 pipe bowl and stem
    {.5,0,0,vec3(.75,.65,.17)},    // 5 stem band, gold lettering
    {.5,.02,0,vec3(.05,.05,.05)},  // 6 mouthpiece
    {.7,.005,0,vec3(.75,.6,.26)},  // 7 tin
    {.7,0,0,vec3(.85,.85,.85)},    // 8 mouthpiece dot
    {1,0,1,vec3(5,0,0)},           // 9 ember
    {1,0,1,vec3(2,2,0)},           // 10 lamp sphere
    {.25,.05,0,vec3(1,1,1)},       // 11 small box
    {0,0,0,vec3(1,1,1)}};          // 12 mirror lettering

// Wood grain in 0..1 at p scaled by q; with b, planks 0.1 wide in scaled x
// with a dark seam where each starts.
float wd(vec3 p,vec3 q,bool b){
    vec3 pp=p;
    p=p*q;
    float f=1;
    if(b){
        p.x=p.x+floor(10*p.x);
        f=smoothstep(0,.05,fract(10*p.x));
    }
    p=sin(4.3*p+cos(6.7*p.yzx));
    float n=dot(p+.03*sin(13*p),vec3(3,3,3));
    float g=1-abs(dot(sin(120.5*pp+6.283*n+sin(121.3*pp.zxy)),vec3(.333,.333,.333)));
    n=fract(n+.1*fract(4*n));
    n=min(n,6*n*(1-n));
    return min(.85*n+.2*g,1)*f;
}

// Smooth union of two distances over the blend width k.
float su(float d1,float d2,float k){
    float h=clamp(.5+.5*(d2-d1)/k,0,1);
    return mix(d2,d1,h)-k*h*(1-h);
}

// Polar fold into 100 sectors, the first straddling the positive first axis.
vec2 pm(vec2 p){
    float a=2*acos(-1)/100;
    // atan(0,0) is undefined; at the origin any angle gives the origin.
    float t=length(p)>0?atan(p.y,p.x)+a/2:a/2;
    t=mod(t,a)-a/2;
    return vec2(cos(t),sin(t))*length(p);
}

// Value noise on the unit lattice, 0 up to 1.
float n3(vec3 p){
    vec3 s=vec3(7,157,113),i=floor(p);
    float b=dot(i,s);
    vec4 h=vec4(b,b+157,b+113,b+270);
    vec3 f=p-i;
    f=f*f*(3-2*f);
    h=mix(fract(sin(h)*43758.5453),fract(sin(h+7)*43758.5453),f.x);
    float e0=mix(h.x,h.y,f.y),e1=mix(h.z,h.w,f.y);
    return mix(e0,e1,f.z);
}

// Three octaves of n3, 0 up to 1.75.
float f3(vec3 p){
    return n3(p)+.5*n3(2*p)+.25*n3(4*p);
}

// Box centred at the origin with half extents b.
float bx(vec3 p,vec3 b){
    vec3 q=abs(p)-b;
    return length(max(q,0))+min(max(q.x,max(q.y,q.z)),0);
}

// Cylinder about the y axis: half height h, radius r.
float cc(vec3 p,float h,float r){
    vec2 d=vec2(length(p.xz)-r,abs(p.y)-h);
    return min(max(d.x,d.y),0)+length(max(d,0));
}

// Cylinder about the y axis with filleted rims: radius 2*ra, half height
// h+rb, fillet rb.
float rc(vec3 p,float ra,float rb,float h){
    vec2 d=vec2(length(p.xz)-2*ra+rb,abs(p.y)-h);
    return min(max(d.x,d.y),0)+length(max(d,0))-rb;
}

// Lettering slab: the dark part of the lettering field, s wide and tall,
// standing on its local origin, extruded to a half thickness of h*s.
float m(vec3 p,float d,float s,float h){
    float b=bx(p-vec3(0,s/2,0),vec3(s/2,s/2,h));
    float a=d*(texture(st,vec2(p.x/s+.5,p.y/s)).r-.005);
    float e=abs(p.z/s)-h;
    return max(b,(min(max(a,e),0)+length(max(vec2(a,e),0)))*s);
}

// Pipe smoke met along a fixed stretch of the segment p + q*t.
float sm(vec3 p,vec3 q){
    p=p-vec3(-4.65,-1,4.6);
    p=p+q*.4;
    vec3 pp=p;
    // The density comes from the noise at the stretch's start alone, so it is
    // the same for every step. Taken here, before p moves on: Mesa 22.3 reads
    // pp as p inside the loop below once p.x and p.z have been shifted.
    float k=max(0,f3(pp*100)-.5)*4;
    p.x=p.x+sin(p.y*171)*.01;
    p.z=p.z+sin(p.y*50)*.01;
    float s=0;
    for(int i=0;i<256;i++){
        float d=cc(p,.2,.001)-p.y*.3;
        if(d<0)s=s+k*(-d);
        p=p+q*.0015;
    }
    return s/3;
}

// Wood values of the last scene evaluation: table top, pipe.
float w1,w2;

// Union step of h: keep the nearer (distance, id) pair in r, the earlier
// one on a tie.
#define x(q) if(q.x<r.x)r=q;
// p turned by -a: an object evaluated at q(p,a) turns by +a.
#define q(p,a) vec2(cos(a)*p.x+sin(a)*p.y,-sin(a)*p.x+cos(a)*p.y)
// Mesa's preprocessor loses track of lines when one of these two names is
// followed directly by ')' (e.g. a swizzle .x closing a call), so from here
// on no such text may appear.

// The scene: (signed distance, material id) at p. Writes w1 and w2.
vec2 h(vec3 p){
    vec2 r=vec2(24,24);
    // Room shell, pierced by the window openings.
    x(vec2(abs(bx(p,vec3(9,4,9)))-.3,1))
    vec3 b=p;
    b.x=mod(p.x,3)-1.5;
    b.z=mod(p.z,3)-1.5;
    r.x=max(r.x,-bx(b,vec3(.5,2.2,10)));
    b.xz=q(b.xz,acos(-1)/2);
    r.x=max(r.x,-bx(b,vec3(.5,2.2,10)));
    b=p-vec3(-5.6,0,5);
    r.x=max(r.x,-bx(b,vec3(.5,2.2,10)));
    // Light shell, closing the openings at mid-wall depth.
    x(vec2(abs(bx(p,vec3(10,5,10)))-1,0))
    // Table top and lamp sphere.
    b=p-vec3(-4.5,-1,4.5);
    b.xz=q(b.xz,.1);
    w1=wd(b,vec3(3,1,1),true);
    x(vec2(bx(b,vec3(.6,.03,.5))+w1*.0005,2))
    b.y-=1;
    x(vec2(length(b)-.2,10))
    // Tin: body, lid rim, bead, recess, grooves and the label disc.
    b=p-vec3(-4.65,-.95,4.7);
    x(vec2(rc(b,.03,.005,.015),7))
    b.y-=.02;
    x(vec2(rc(b,.03,.001,.005),7))
    b.y+=.004;
    x(vec2(rc(b,.031,.001,.0001),7))
    b.y-=.02;
    r.x=max(r.x,-rc(b,.028,.002,.01));
    vec3 bb=b+vec3(0,.01,0);
    bb.xz=pm(bb.xz);
    bb.x-=.06;
    r.x=max(r.x,-cc(bb,.005,.001));
    b.y+=.012;
    x(vec2(cc(b,.00001,.053),3))
    // Small box split by a seam, with its tube and end recess.
    b=p-vec3(-4.55,-.964,4.73);
    b.xz=q(b.xz,-.35);
    bb=b+vec3(.01,0,.023);
    x(vec2(max(bx(b,vec3(.0275,.0063,.019))-.003,-bx(bb,vec3(.0005,.05,.05)))+n3(b*vec3(1000,1000,10000))*.0002,11))
    x(vec2(max(cc(bb,.004,.001),-cc(bb,.01,.0005)),11))
    b.x-=.057;
    r.x=max(r.x,-bx(b,vec3(.0275,.005,.019)));
    // Pipe: bowl and stem, band, dot, ember, mouthpiece.
    b=p-vec3(-4.65,-.95,4.6);
    w2=wd(p,vec3(12,12,12),false);
    float w=w2*w2*.0002;
    b.xz=q(b.xz,1);
    float bw=max(cc(b,.03,.02)-.15*b.y,-cc(b-vec3(0,.04,0),.04,.013));
    b-=vec3(-.035,.005,0);
    b.xy=q(b.xy,1.1);
    float st=cc(b,.035,.007);
    x(vec2(su(bw,st,.02)+w,4))
    x(vec2(cc(b,.04,.0066),5))
    x(vec2(length(b-vec3(.006,.045,0))-.001,8))
    x(vec2(length(b-vec3(.016,-.035,0))-.01,9))
    if(b.y>.05)b.x*=1+(b.y-.05)*20;
    x(vec2(b.y>0?cc(b,.15,.0066):999,6))
    // Lettering slab: mirror left of local x .01, gold right of it.
    b=p-vec3(-4.8,-1.245,4.8);
    b.xz=q(b.xz,.5);
    x(vec2(m(b,.02,.35,.03),b.x>.01?5:12))
    return r;
}

// Unit normal at p by central differences; the last sample, at
// p - (0,0,e), leaves its wood values in w1 and w2.
vec3 nn(vec3 p){
    float e=.0003;
    float d1=h(p+vec3(e,0,0)).x;
    float d2=h(p-vec3(e,0,0)).x;
    float d3=h(p+vec3(0,e,0)).x;
    float d4=h(p-vec3(0,e,0)).x;
    float d5=h(p+vec3(0,0,e)).x;
    float d6=h(p-vec3(0,0,e)).x;
    return normalize(vec3(d1-d2,d3-d4,d5-d6));
}

// Over-relaxed sphere tracing of the segment p + q*t; segment iii 0 (the
// camera ray) gets 64 passes, later ones 32. Returns (t, material id).
vec2 is(vec3 p,vec3 q,int iii){
    float t=0,d=0,c=0,o=1.2,k=.1/u.y;
    int n=iii==0?64:32;
    while(n>0){
        float f=h(p+q*t).x;
        float r=abs(f);
        bool over=o>1&&r+c<d;
        if(over){
            d=d-o*d;   // back off by a fifth of the step just taken
            o=1;
        }else d=o*f;
        c=r;
        float e=r/t;   // t = 0 on the first pass: infinite or NaN, never below k
        if(!over&&e<k||t>24)break;
        t=t+d;
        n--;
    }
    return vec2(t,h(p+q*t).y);
}

// Per-pixel hash in 0..1 of weights p and seed d.
float r1(vec3 p,float d){
    return fract(sin(dot(gl_FragCoord.xyz+d,p))*43758.5453+d);
}

vec2 r2(vec3 p){
    return vec2(r1(vec3(1,1,1),p.x+p.z),r1(vec3(1,1,1),p.y+p.z));
}

// Cosine-weighted direction about the unit axis n, not normalised (the
// tangent is not either).
vec3 cd(vec3 n,float e){
    float d=r1(vec3(12.9898,78.233,151.7182),e);
    float v=r1(vec3(63.7264,10.873,623.6736),e);
    float r=sqrt(d),a=2*acos(-1)*v;
    vec3 t=abs(n).x<.5?cross(n,vec3(1,0,0)):cross(n,vec3(0,1,0));
    return r*cos(a)*t+r*sin(a)*cross(n,t)+sqrt(1-d)*n;
}

// One path from p along the unit direction v, at most eight segments;
// returns the emitter's colour times the surface colours met, or black.
vec3 pt(vec3 p,vec3 v){
    vec3 a=vec3(1,1,1);
    for(int i=0;i<8;i++){
        vec2 t=is(p,v,i);
        if(t.x>24)return vec3(0,0,0);   // left the scene
        int id=int(t.y);
        vec3 hit=p+v*t.x;
        vec3 n=nn(hit);
        vec3 s=sf[id].c;
        if(id==4)
            s=.2*mix(vec3(.5,.15,.025),vec3(.75,.3,.1)*2,w2*.25+.75)*(w2*.2+.8);
        else if(id==3)
            s=texture(lb,vec2(hit.x*9+.3,hit.z*9+.2)).rgb;
        else if(id==7&&hit.y<-.95&&hit.y>-.96&&hit.x>-4.605&&hit.z<4.695)
            s=texture(lb,vec2(hit.z*9+.4,hit.y*9+.71)).rgb;   // side band
        else if(id==2){
            float g=f3(hit*vec3(20,4,4));   // blend weight, unclamped
            s=mix(s,mix(vec3(.5,.15,.025),vec3(1.5,.6,.2),w1*.25+.75)*(w1*.2+.8),g*g);
        }else if(id==1&&hit.y<-2&&hit.y>-2.19)
            s=vec3(.76,.9,.44);                                // wall band
        float sv=sm(p,v);
        s=mix(s,.5*vec3(.5,.5,.55)*sv,min(1,sv));
        if(sf[id].e>0)return a*s;
        if(r1(vec3(1,1,1),uv.x+uv.y+fs+i)<sf[id].d)
            v=cd(n,fs*27.433727);
        else{
            v=normalize(reflect(v,n));
            v=v+cd(v,fs*9.312+i)*sf[id].g;
        }
        p=hit+.015*v;
        a=a*s;
    }
    return vec3(0,0,0);
}
