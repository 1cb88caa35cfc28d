// The AudioWorklet that plays the emulator's sample stream. The page posts arrays of
// interleaved stereo float samples; the worklet plays them in order and reports how many
// sample frames it has used up (played or dropped), which is how the page knows how far
// ahead the emulation is and so paces it.
class NoltaceAudio extends AudioWorkletProcessor {
  constructor() {
    super();
    this.queue = [];    // Float32Arrays of interleaved left/right samples
    this.offset = 0;    // sample frames of queue[0] already played
    this.consumed = 0;  // sample frames played or dropped since the start
    this.playing = true;
    this.renders = 0;
    this.port.onmessage = (e) => {
      const m = e.data;
      if (m.samples) {
        this.queue.push(m.samples);
        this.dropBeyond(sampleRate); // never more than a second behind
      } else if (m.clear) {
        this.dropBeyond(0);
      } else if (m.playing !== undefined) {
        this.playing = m.playing;
      }
    };
  }
  queuedFrames() {
    let n = -this.offset;
    for (const b of this.queue) n += b.length / 2;
    return n;
  }
  dropBeyond(limit) {
    while (this.queue.length && this.queuedFrames() > limit) {
      this.consumed += this.queue[0].length / 2 - this.offset;
      this.queue.shift();
      this.offset = 0;
    }
  }
  process(inputs, outputs) {
    const left = outputs[0][0];
    const right = outputs[0][1] || left;
    let i = 0;
    while (this.playing && i < left.length && this.queue.length) {
      const b = this.queue[0];
      const frames = b.length / 2;
      while (i < left.length && this.offset < frames) {
        left[i] = b[this.offset * 2];
        right[i] = b[this.offset * 2 + 1];
        ++i;
        ++this.offset;
        ++this.consumed;
      }
      if (this.offset >= frames) {
        this.queue.shift();
        this.offset = 0;
      }
    }
    for (; i < left.length; ++i) left[i] = right[i] = 0;
    if (++this.renders % 4 === 0) this.port.postMessage({ consumed: this.consumed });
    return true;
  }
}
registerProcessor('noltace-audio', NoltaceAudio);
