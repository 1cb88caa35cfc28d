// Mesa's software rasteriser (llvmpipe), which draws the OpenGL back-ends where there is
// no graphics driver, shares each picture out among one thread per core. On a machine
// with two or three cores the display server copies the last picture on one of them while
// the next is drawn, so a thread waits for its core and the picture waits for that
// thread: at 300% "No Shader" took 5.0-5.4 ms a frame on two cores, 3.5-4.2 ms with four
// threads, for about the same processor time. SpreadSoftwareRasteriser asks for four
// threads there.
//
// Call before the first OpenGL context is made. A thread count the user set
// (LP_NUM_THREADS) is kept; other drivers ignore the setting.
#pragma once

void SpreadSoftwareRasteriser();
